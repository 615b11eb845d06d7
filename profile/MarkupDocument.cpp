#include "profile/MarkupDocument.h"

#include "profile/FileStore.h"
#include "profile/LargeBuffer.h"
#include "profile/MarkupEncoding.h"
#include "profile/MarkupParser.h"
#include "profile/MarkupText.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::u16string_view LineEnd = u"\r\n";

} // namespace

bool MarkupDocument::setDoc(std::u16string_view text)
{
    m_log.clear();
    if (text.size() >= MaxTextLength) {
        m_log.add("truncation_error", {{"length", std::to_string(text.size())}});
        m_text.clear();
        parse();
        m_markupOk = false;
        return false;
    }
    m_text.assign(text);
    parse();
    return isWellFormed();
}

bool MarkupDocument::load(const std::filesystem::path &path)
{
    m_log.clear();
    std::string bytes;
    std::string error;
    const auto status = FileStore::readAll(path, MaxFileBytes, bytes, error);
    m_loadStatus = status;
    m_loadError = error;
    if (status != FileStore::ReadStatus::Ok) {
        m_log.add(status == FileStore::ReadStatus::TooLarge ? "truncation_error" : "file_error",
                  {{"msg", error}});
        m_text.clear();
        parse();
        m_markupOk = false;
        return false;
    }
    m_log.add("read", {{"length", std::to_string(bytes.size())}});
    m_text = MarkupEncoding::decode(bytes, m_log);
    parse();
    return true;
}

void MarkupDocument::loadBytes(std::string_view bytes)
{
    m_log.clear();
    if (bytes.size() > MaxFileBytes) {
        m_log.add("truncation_error", {{"length", std::to_string(bytes.size())}});
        m_text.clear();
        parse();
        m_markupOk = false;
        return;
    }
    m_text = MarkupEncoding::decode(bytes, m_log);
    parse();
}

std::string MarkupDocument::encodedText()
{
    m_log.clear();
    MarkupEncoding::EncodeOptions options;
    options.utf8Bom = m_flags & WriteUtf8Bom;
    options.utf16 = m_flags & WriteUtf16;
    return MarkupEncoding::encode(m_text, options, m_log);
}

bool MarkupDocument::save(const std::filesystem::path &path, FileStore::WriteFailure *failure)
{
    const std::string bytes = encodedText();
    FileStore::WriteFailure why;
    if (!FileStore::replaceAtomically(path, bytes, why)) {
        m_log.add("file_error", {{"msg", why.reason}});
        if (failure)
            *failure = std::move(why);
        return false;
    }
    m_log.add("write", {{"length", std::to_string(bytes.size())}});
    return true;
}

void MarkupDocument::reserve(std::size_t units)
{
    if (units <= m_text.capacity() || units >= MaxTextLength)
        return;
    std::u16string grown;
    grown.reserve(units);
    LargeBuffer::advise(grown.data(), grown.capacity() * sizeof(char16_t));
    grown = m_text;
    m_text.swap(grown);
}

void MarkupDocument::parse()
{
    m_freshElement = 0;
    m_hintElement = 0;
    MarkupParser parser(m_text, m_index, m_log, ignoreCase());
    m_markupOk = parser.parse();
    m_firstError = parser.firstError();
    if (m_firstError) {
        const auto end
            = m_text.begin() + std::ptrdiff_t(std::min(m_firstError.offset, m_text.size()));
        m_firstError.line = 1 + int(std::count(m_text.begin(), end, u'\n'));
    }
    resetPos();
}

bool MarkupDocument::isWellFormed() const
{
    const std::uint32_t root = m_index[0].first;
    return m_markupOk && root != 0 && m_index[root].next == 0;
}

void MarkupDocument::resetPos()
{
    m_parent = 0;
    m_current = 0;
}

std::u16string_view MarkupDocument::nameOf(std::uint32_t elem) const
{
    const std::size_t at = m_index[elem].start + 1;
    return std::u16string_view(m_text).substr(at, MarkupText::nameLength(m_text, at));
}

std::u16string_view MarkupDocument::startTagOf(std::uint32_t elem) const
{
    const ElementRecord &r = m_index[elem];
    return std::u16string_view(m_text).substr(r.start, r.startTagLength);
}

bool MarkupDocument::isShortForm(std::uint32_t elem) const
{
    const ElementRecord &r = m_index[elem];
    return r.length == r.startTagLength && r.startTagLength >= 3
           && m_text[r.start + r.startTagLength - 2] == u'/';
}

std::u16string_view MarkupDocument::tagName() const
{
    return m_current ? nameOf(m_current) : std::u16string_view();
}

bool MarkupDocument::findElem(std::u16string_view name)
{
    if (m_flags & WriteOnly)
        return false;
    std::uint32_t e = m_current ? m_index[m_current].next : m_index[m_parent].first;
    const bool anyName = name.empty();
    const bool fold = ignoreCase();
    for (; e != 0; e = m_index[e].next) {
        if (anyName)
            break;
        const std::size_t at = m_index[e].start + 1;
        if (!fold) {
            // Cheap test first: the name and then a character that ends it.
            if (at + name.size() < m_text.size()
                && std::u16string_view(m_text).substr(at, name.size()) == name
                && MarkupText::nameLength(m_text, at + name.size()) == 0) {
                break;
            }
        } else if (MarkupText::sameName(nameOf(e), name, true)) {
            break;
        }
    }
    if (e == 0)
        return false;
    m_current = e;
    return true;
}

bool MarkupDocument::intoElem()
{
    if (m_current == 0)
        return false;
    m_parent = m_current;
    m_current = 0;
    return true;
}

bool MarkupDocument::outOfElem()
{
    if (m_parent == 0)
        return false;
    m_current = m_parent;
    m_parent = m_index[m_parent].parent;
    return true;
}

bool MarkupDocument::addElem(std::u16string_view name)
{
    if (!editable() || name.empty())
        return false;
    std::uint32_t elem = 0;
    if (m_current)
        elem = insertAfterSibling(m_current, name);
    else if (m_index[m_parent].last)
        elem = insertAfterSibling(m_index[m_parent].last, name);
    else
        elem = insertFirstChild(m_parent, name);
    if (elem == 0)
        return false;
    m_current = elem;
    m_freshElement = elem;
    m_freshNames.clear();
    return true;
}

// Each added element sits on a line of its own, in the short form "<name/>".
std::uint32_t MarkupDocument::insertAfterSibling(std::uint32_t sibling, std::u16string_view name)
{
    const ElementRecord &s = m_index[sibling];
    std::size_t at = s.start + s.length;
    const std::u16string_view text(m_text);
    if (text.substr(at, 2) == LineEnd)
        at += 2;
    else if (at < text.size() && text[at] == u'\n')
        at += 1;
    std::u16string &piece = m_piece;
    piece.clear();
    if (at > 0 && text[at - 1] != u'\n')
        piece = LineEnd;
    const std::size_t lead = piece.size();
    piece.append(u"<").append(name).append(u"/>").append(LineEnd);
    if (!fits(piece.size()))
        return 0;
    const std::uint32_t elem = m_index.add();
    if (elem == 0)
        return 0;
    m_text.insert(at, piece);
    ElementRecord &r = m_index[elem];
    r.start = std::uint32_t(at + lead);
    r.startTagLength = r.length = std::uint32_t(name.size() + 3);
    m_index.insertAfter(sibling, elem);
    m_index.shiftSiblingsAfter(elem, std::int64_t(piece.size()));
    m_index.grow(r.parent, std::int64_t(piece.size()));
    return elem;
}

std::uint32_t MarkupDocument::insertFirstChild(std::uint32_t parent, std::u16string_view name)
{
    std::size_t at = 0;
    std::size_t removed = 0;
    std::u16string &piece = m_piece;
    piece.clear();
    std::size_t lead = 0;
    const std::u16string_view text(m_text);
    if (parent == 0) {
        at = text.size();
        if (at > 0 && text[at - 1] != u'\n')
            piece = LineEnd;
        lead = piece.size();
        piece.append(u"<").append(name).append(u"/>").append(LineEnd);
    } else {
        const ElementRecord &p = m_index[parent];
        const std::u16string_view parentName = nameOf(parent);
        if (isShortForm(parent)) {
            // "<p .../>" becomes "<p ...>", the child's line and "</p>".
            at = p.start + p.startTagLength - 2;
            removed = 2;
            piece.append(u">").append(LineEnd);
        } else if (p.length == p.startTagLength) {
            // A start tag that was never ended gets its end tag now.
            at = p.start + p.startTagLength;
            piece = LineEnd;
        } else {
            at = text.rfind(u'<', p.start + p.length - 1);
            if (at == std::u16string_view::npos || at < p.start + p.startTagLength)
                at = p.start + p.startTagLength;
            if (text[at - 1] != u'\n')
                piece = LineEnd;
        }
        lead = piece.size();
        piece.append(u"<").append(name).append(u"/>");
        if (p.length == p.startTagLength)
            piece.append(LineEnd).append(u"</").append(parentName).append(u">");
        else
            piece.append(LineEnd);
    }
    const std::int64_t delta = std::int64_t(piece.size()) - std::int64_t(removed);
    if (!fits(piece.size()))
        return 0;
    const std::uint32_t elem = m_index.add();
    if (elem == 0)
        return 0;
    m_text.replace(at, removed, piece);
    m_hintElement = 0;
    if (parent != 0) {
        if (removed)
            m_index[parent].startTagLength -= 1; // "/>" became ">"
        m_index.grow(parent, delta);
    }
    ElementRecord &r = m_index[elem];
    r.start = std::uint32_t(at + lead);
    r.startTagLength = r.length = std::uint32_t(name.size() + 3);
    m_index.appendChild(parent, elem);
    return elem;
}

bool MarkupDocument::setAttrib(std::u16string_view name, std::u16string_view value)
{
    if (m_current == 0 || !editable() || name.empty())
        return false;
    ElementRecord &r = m_index[m_current];
    // An element just added has only the attributes set since; others need a search.
    const bool fresh
        = m_current == m_freshElement && !ignoreCase()
          && std::find(m_freshNames.begin(), m_freshNames.end(), name) == m_freshNames.end();
    const auto span = fresh ? MarkupText::AttributeSpan()
                            : MarkupText::findAttribute(startTagOf(m_current), name, ignoreCase());
    if (m_current == m_freshElement && !span.found)
        m_freshNames.emplace_back(name);
    std::u16string &piece = m_piece;
    piece.clear();
    std::size_t at = 0;
    std::size_t removed = 0;
    if (span.found) {
        at = r.start + span.begin;
        removed = span.end - span.begin;
    } else {
        at = r.start + r.startTagLength - 1; // the '>'
        if (at > r.start && m_text[at - 1] == u'/')
            --at;
        if (!MarkupText::isSpace(m_text[at - 1]))
            piece = u" ";
    }
    piece.append(name).append(u"=\"");
    MarkupText::appendEscaped(piece, value);
    piece += u'"';
    const std::int64_t delta = std::int64_t(piece.size()) - std::int64_t(removed);
    if (delta > 0 && !fits(std::size_t(delta)))
        return false;
    m_text.replace(at, removed, piece);
    m_hintElement = 0;
    r.startTagLength = std::uint32_t(r.startTagLength + delta);
    m_index.shiftChildren(m_current, delta);
    m_index.grow(m_current, delta);
    return true;
}

bool MarkupDocument::setAttrib(std::u16string_view name, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    char16_t wide[16];
    std::size_t n = 0;
    for (const char *c = digits; c != end; ++c)
        wide[n++] = char16_t(*c);
    return setAttrib(name, std::u16string_view(wide, n));
}

std::u16string MarkupDocument::getAttrib(std::u16string_view name) const
{
    return MarkupText::unescape(rawAttrib(name));
}

void MarkupDocument::rawAttribs(std::span<const std::u16string_view> names,
                                std::span<std::u16string_view> values) const
{
    if (m_current == 0 || (m_flags & WriteOnly)) {
        for (auto &value : values)
            value = {};
        return;
    }
    MarkupText::readAttributes(startTagOf(m_current), names, values, ignoreCase());
}

std::u16string_view MarkupDocument::rawAttrib(std::u16string_view name) const
{
    if (m_current == 0 || (m_flags & WriteOnly))
        return {};
    const std::u16string_view tag = startTagOf(m_current);
    const std::size_t from = m_hintElement == m_current ? m_hintOffset : 0;
    const auto span = MarkupText::findAttribute(tag, name, ignoreCase(), from);
    if (!span.found)
        return {};
    m_hintElement = m_current;
    m_hintOffset = span.end;
    return tag.substr(span.valueBegin, span.valueEnd - span.valueBegin);
}
