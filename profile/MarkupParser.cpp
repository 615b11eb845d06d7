#include "profile/MarkupParser.h"

#include "profile/MarkupText.h"
#include "profile/TextCodec.h"

#include <algorithm>

using MarkupText::isSpace;

MarkupParser::MarkupParser(std::u16string_view text, ElementIndex &index, ResultLog &log,
                           bool ignoreCase)
    : m_text(text)
    , m_index(index)
    , m_log(log)
    , m_ignoreCase(ignoreCase)
{}

bool MarkupParser::parse()
{
    m_index.clear();
    // Profiles average some forty characters per element.
    m_index.reserve(
        std::uint32_t(std::min<std::size_t>(m_text.size() / 32, ElementIndex::PageSize)));
    m_open.clear();
    m_deepNames.clear();
    m_wellFormed = true;
    m_first = {};
    const std::size_t n = m_text.size();
    std::size_t pos = 0;
    while (pos < n) {
        const std::size_t lt = m_text.find(u'<', pos);
        if (lt == std::u16string_view::npos)
            break;
        const char16_t c = lt + 1 < n ? m_text[lt + 1] : u'\0';
        if (c == u'/') {
            pos = endTag(lt);
        } else if (c == u'?') {
            const std::size_t end = m_text.find(u"?>", lt + 2);
            if (end == std::u16string_view::npos) {
                error(MarkupProblem::UnfinishedTag, lt);
                pos = Stop;
            } else {
                pos = end + 2;
            }
        } else if (c == u'!') {
            pos = exclamation(lt);
        } else if (c > u' ' && c != u'<' && c != u'>' && c != u'=' && c != u'"' && c != u'\'') {
            pos = startTag(lt);
        } else {
            // A lone '<' in text: note it and read on after it.
            error(MarkupProblem::StrayLessThan, lt);
            pos = lt + 1;
        }
    }
    closeAtEnd();
    if (m_index[0].first == 0)
        error(MarkupProblem::NoRootElement, 0);
    return m_wellFormed;
}

std::size_t MarkupParser::startTag(std::size_t lt)
{
    const std::size_t n = m_text.size();
    const std::u16string_view name = m_text.substr(lt + 1, MarkupText::nameLength(m_text, lt + 1));
    std::size_t i = lt + 1 + name.size();
    i = MarkupText::skipWrittenAttributes(m_text, i);
    MarkupText::AttributeSpan span;
    bool unterminated = false;
    while (MarkupText::nextAttribute(m_text, i, span))
        unterminated = unterminated || span.unterminated;
    std::size_t gt = Stop;
    if (unterminated) {
        // An unclosed quote ran to the end: take the tag up to its first '>' instead.
        error(MarkupProblem::UnfinishedTag, lt, name);
        const std::size_t end = m_text.find_first_of(u"<>", lt + 1);
        if (end == std::u16string_view::npos || m_text[end] == u'<')
            return end == std::u16string_view::npos ? Stop : end;
        gt = end;
    } else if (i < n && m_text[i] == u'>') {
        gt = i;
    } else if (i + 1 < n && m_text[i] == u'/' && m_text[i + 1] == u'>') {
        gt = i + 1;
    } else {
        error(MarkupProblem::UnfinishedTag, lt, name);
        return i < n ? i : Stop; // at the '<' that broke the tag, or the end
    }
    const std::uint32_t elem = m_index.add();
    if (elem == 0) {
        error(MarkupProblem::TooManyElements, lt);
        return Stop;
    }
    ElementRecord &r = m_index[elem];
    r.start = std::uint32_t(lt);
    r.startTagLength = std::uint32_t(gt + 1 - lt);
    const std::uint32_t parent = m_open.empty() ? 0 : m_open.back();
    if (parent == 0 && m_index[0].first != 0)
        error(MarkupProblem::SecondRoot, lt, nameOf(elem));
    m_index.appendChild(parent, elem);
    if (m_text[gt - 1] == u'/')
        r.length = r.startTagLength;
    else
        pushOpen(elem);
    return gt + 1;
}

std::size_t MarkupParser::endTag(std::size_t lt)
{
    const std::size_t gt = m_text.find(u'>', lt + 2);
    if (gt == std::u16string_view::npos) {
        error(MarkupProblem::UnfinishedTag, lt);
        return Stop;
    }
    std::u16string_view name = m_text.substr(lt + 2, gt - lt - 2);
    while (!name.empty() && isSpace(name.back()))
        name.remove_suffix(1);
    const bool top
        = !m_open.empty() && MarkupText::sameName(nameOf(m_open.back()), name, m_ignoreCase);
    if (!top && !maybeOpen(name)) {
        error(MarkupProblem::LoneEndTag, lt, name);
        return gt + 1;
    }
    // Every element passed on the way down is closed here, so the search costs nothing extra.
    std::size_t k = m_open.size();
    while (k > 0 && !MarkupText::sameName(nameOf(m_open[k - 1]), name, m_ignoreCase))
        --k;
    if (k == 0) {
        error(MarkupProblem::LoneEndTag, lt, name);
        return gt + 1;
    }
    const std::uint32_t matched = m_open[k - 1];
    closeOpenElements(k, matched);
    ElementRecord &r = m_index[matched];
    r.length = std::uint32_t(gt + 1 - r.start);
    popOpen();
    return gt + 1;
}

void MarkupParser::pushOpen(std::uint32_t elem)
{
    if (m_open.size() >= ShallowDepth)
        ++m_deepNames[foldedName(elem)];
    m_open.push_back(elem);
}

void MarkupParser::popOpen()
{
    if (m_open.size() > ShallowDepth) {
        const auto it = m_deepNames.find(foldedName(m_open.back()));
        if (it != m_deepNames.end() && --it->second == 0)
            m_deepNames.erase(it);
    }
    m_open.pop_back();
}

// Whether an element of that name may be open. Deep stacks keep a count per name, so that end
// tags without a start tag do not each walk the whole stack.
bool MarkupParser::maybeOpen(std::u16string_view name) const
{
    const std::size_t shallow = std::min(m_open.size(), ShallowDepth);
    for (std::size_t i = 0; i < shallow; ++i) {
        if (MarkupText::sameName(nameOf(m_open[i]), name, m_ignoreCase))
            return true;
    }
    if (m_open.size() <= ShallowDepth)
        return false;
    return m_deepNames.count(fold(name)) != 0;
}

std::u16string MarkupParser::fold(std::u16string_view name) const
{
    std::u16string key(name);
    if (m_ignoreCase) {
        for (char16_t &c : key) {
            if (c >= u'A' && c <= u'Z')
                c = char16_t(c + 32);
        }
    }
    return key;
}

std::u16string MarkupParser::foldedName(std::uint32_t elem) const
{
    return fold(nameOf(elem));
}

std::size_t MarkupParser::exclamation(std::size_t lt)
{
    const std::u16string_view rest = m_text.substr(lt);
    if (rest.starts_with(u"<!--")) {
        const std::size_t end = m_text.find(u"-->", lt + 4);
        if (end == std::u16string_view::npos) {
            error(MarkupProblem::UnclosedComment, lt);
            return Stop;
        }
        return end + 3;
    }
    if (rest.starts_with(u"<![CDATA[")) {
        const std::size_t end = m_text.find(u"]]>", lt + 9);
        if (end == std::u16string_view::npos) {
            error(MarkupProblem::UnclosedCdata, lt);
            return Stop;
        }
        return end + 3;
    }
    if (rest.starts_with(u"<!DOCTYPE")) {
        // The internal subset in brackets may hold '>' of its own declarations.
        char16_t quote = 0;
        bool subset = false;
        for (std::size_t i = lt + 9; i < m_text.size(); ++i) {
            const char16_t ch = m_text[i];
            if (quote) {
                if (ch == quote)
                    quote = 0;
            } else if (ch == u'"' || ch == u'\'') {
                quote = ch;
            } else if (ch == u'[') {
                subset = true;
            } else if (ch == u']') {
                subset = false;
            } else if (ch == u'>' && !subset) {
                return i + 1;
            }
        }
        error(MarkupProblem::UnfinishedDoctype, lt);
        return Stop;
    }
    error(MarkupProblem::UnknownDeclaration, lt);
    const std::size_t gt = m_text.find(u'>', lt + 2);
    return gt == std::u16string_view::npos ? Stop : gt + 1;
}

// Elements still open above m_open[keep - 1] never got their end tag: each is taken as an
// empty element and what followed it inside becomes its following siblings under `into`.
void MarkupParser::closeOpenElements(std::size_t keep, std::uint32_t into)
{
    // Outermost first, so that every element is moved only once.
    for (std::size_t i = keep; i < m_open.size(); ++i) {
        error(MarkupProblem::UnendedElement, m_index[m_open[i]].start, nameOf(m_open[i]));
        flatten(m_open[i], into);
    }
    while (m_open.size() > keep)
        popOpen();
}

void MarkupParser::flatten(std::uint32_t unended, std::uint32_t into)
{
    ElementRecord &u = m_index[unended];
    u.length = u.startTagLength;
    if (u.first == 0)
        return;
    for (std::uint32_t c = u.first; c != 0; c = m_index[c].next)
        m_index[c].parent = into;
    // `unended` is the last child of `into`; its children follow it there.
    m_index[u.first].prev = unended;
    u.next = u.first;
    m_index[into].last = u.last;
    u.first = u.last = 0;
}

// The text ended with these still open: each holds everything after its start tag, so that a
// file cut short keeps what it has in its place.
void MarkupParser::closeAtEnd()
{
    if (m_open.empty())
        return;
    // Told at the last character, on the file's last line.
    remember(MarkupProblem::EndsInsideElement, m_text.size() - 1, nameOf(m_open.back()));
    for (const std::uint32_t elem : m_open) {
        ElementRecord &r = m_index[elem];
        error(MarkupProblem::EndsInsideElement, r.start, nameOf(elem));
        r.length = std::uint32_t(m_text.size() - r.start);
    }
    while (!m_open.empty())
        popOpen();
}

void MarkupParser::error(MarkupProblem problem, std::size_t offset, std::u16string_view tagName)
{
    // How many roots there are is the document's to judge, as elements may be added later.
    if (problem != MarkupProblem::NoRootElement && problem != MarkupProblem::SecondRoot)
        m_wellFormed = false;
    remember(problem, offset, tagName);
    const std::string_view event = markupEventName(problem);
    if (problem == MarkupProblem::TooManyElements) {
        m_log.add(event, {{"offset", std::to_string(offset)}, {"msg", "too many elements"}});
    } else if (tagName.empty()) {
        m_log.add(event, {{"offset", std::to_string(offset)}});
    } else {
        m_log.add(event, {{"tagname", TextCodec::toUtf8(tagName.substr(0, 64))},
                          {"offset", std::to_string(offset)}});
    }
}

void MarkupParser::remember(MarkupProblem problem, std::size_t offset, std::u16string_view tagName)
{
    if (m_first)
        return;
    m_first.problem = problem;
    m_first.offset = offset;
    m_first.tagName.assign(tagName.substr(0, 64));
}

const char *markupEventName(MarkupProblem problem)
{
    switch (problem) {
    case MarkupProblem::None:
        return "";
    case MarkupProblem::NoRootElement:
        return "no_root_element";
    case MarkupProblem::SecondRoot:
        return "root_has_sibling";
    case MarkupProblem::LoneEndTag:
        return "lone_end_tag";
    case MarkupProblem::UnendedElement:
    case MarkupProblem::EndsInsideElement:
        return "unended_start_tag";
    case MarkupProblem::UnfinishedTag:
        return "unterminated_tag_syntax";
    case MarkupProblem::StrayLessThan:
        return "first_tag_syntax";
    case MarkupProblem::UnfinishedDoctype:
        return "doctype_tag_syntax";
    case MarkupProblem::UnknownDeclaration:
        return "exclamation_tag_syntax";
    case MarkupProblem::UnclosedComment:
        return "comment_tag_syntax";
    case MarkupProblem::UnclosedCdata:
        return "cdata_section_syntax";
    case MarkupProblem::TooManyElements:
        return "truncation_error";
    }
    return "";
}

std::u16string_view MarkupParser::nameOf(std::uint32_t elem) const
{
    const std::size_t at = m_index[elem].start + 1;
    return m_text.substr(at, MarkupText::nameLength(m_text, at));
}
