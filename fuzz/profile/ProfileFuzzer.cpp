// Feeds arbitrary bytes to the document loader (encoding detection and parse), the walker, the
// editor, the profile reader and the encoding of what it read for the keyboard. Edits of a
// well-formed document must leave an index that equals a fresh parse of the edited text.
#include "jobs/KeyConfigCodec.h"
#include "model/AppState.h"
#include "profile/MarkupDocument.h"
#include "profile/MarkupText.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Names and attribute values of the whole tree below the current parent.
std::u16string walk(MarkupDocument &doc, int depthLeft)
{
    std::u16string out;
    while (doc.findElem()) {
        out += doc.tagName();
        out += u'[';
        out += doc.getAttrib(u"ID");
        out += doc.getAttrib(u"t1");
        out += u']';
        if (depthLeft > 0 && doc.intoElem()) {
            out += walk(doc, depthLeft - 1);
            check(doc.outOfElem());
        }
    }
    return out;
}

// Where the general attribute scan ends a tag from `i`, and whether a quote was left open.
std::pair<std::size_t, bool> scanToTagEnd(std::u16string_view tag, std::size_t i)
{
    MarkupText::AttributeSpan span;
    bool unterminated = false;
    while (MarkupText::nextAttribute(tag, i, span))
        unterminated = unterminated || span.unterminated;
    return {i, unterminated};
}

// The shortcuts for attributes written as the program writes them agree with the general scan
// on every tag of the text: where the tag ends, and the values found.
void checkAttributeShortcuts(std::u16string_view text)
{
    static const std::vector<std::vector<std::u16string_view>> nameLists = {
        {u"SizeOfView", u"ViewStartAt", u"CursorPos", u"Cycles", u"IsAutoInterval", u"Delay",
         u"PlayMode"},
        {u"ID", u"Red", u"Green", u"Blue"},
        {u"ID", u"Level", u"Mode", u"HWCode"},
        {u"ID", u"t1"},
    };
    int tags = 0;
    for (std::size_t lt = text.find(u'<'); lt != std::u16string_view::npos && tags < 64;
         lt = text.find(u'<', lt + 1), ++tags) {
        const std::size_t first = lt + 1 + MarkupText::nameLength(text, lt + 1);
        const auto general = scanToTagEnd(text, first);
        check(scanToTagEnd(text, MarkupText::skipWrittenAttributes(text, first)) == general);

        const std::u16string_view tag
            = text.substr(lt, std::min(general.first + 1, text.size()) - lt);
        for (const auto &names : nameLists) {
            std::vector<std::u16string_view> values(names.size());
            MarkupText::readAttributes(tag, names, values, false);
            for (std::size_t k = 0; k < names.size(); ++k) {
                const auto span = MarkupText::findAttribute(tag, names[k], false);
                if (!span.found) {
                    check(values[k].data() == nullptr);
                    continue;
                }
                check(values[k].data() == tag.data() + span.valueBegin
                      && values[k].size() == span.valueEnd - span.valueBegin);
            }
        }
    }
}

// A fresh parse names a problem exactly when the text is not well formed, at a place in it.
void checkFirstError(const MarkupDocument &doc)
{
    const MarkupError &first = doc.firstError();
    check(doc.isWellFormed() == !first);
    if (first) {
        check(first.line >= 1 && first.offset <= doc.doc().size());
        check(!profileDamageText(first, false).empty() && !profileDamageText(first, true).empty());
    }
}

// Every key read encodes, or is refused with a step that it has; changes name a key that
// exists or none.
void checkEncoding(const AppState &state, const ProfileReadReport &report)
{
    for (const ProfileValueChange &change : report.changes)
        check(change.key >= 0 && change.key <= AppState::KeyCount && !change.from.empty());
    std::vector<int> array;
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const KeyAssignment assignment = state.assignment(key, layer);
            KeyConfigCodec::Check result;
            if (KeyConfigCodec::encode(state.catalogue, assignment, array, &result)
                == KeyConfigCodec::Encoded::Misread)
                check(result.step >= 1 && result.step <= assignment.action.size() && array.empty());
        }
    }
}

void editAndCompare(MarkupDocument &doc, std::uint8_t seed)
{
    doc.resetPos();
    doc.findElem();
    if (seed & 1) {
        doc.intoElem();
        doc.findElem();
    }
    doc.setAttrib(u"ID", u"a&b\"c<d>");
    doc.setAttrib(u"fuzz", int(seed));
    doc.intoElem();
    doc.addElem(u"added");
    doc.setAttrib(u"t1", u"x");
    doc.outOfElem();
    doc.addElem(u"sibling");
    doc.resetPos();
    const std::u16string edited = walk(doc, 64);
    MarkupDocument fresh;
    fresh.setDoc(doc.doc());
    check(walk(fresh, 64) == edited);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto state = [] {
        auto s = std::make_unique<AppState>();
        s->buildCatalogue();
        s->resetKeyModel();
        return s;
    }();
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    MarkupDocument doc;
    doc.loadBytes(bytes);
    walk(doc, 64);
    state->deviceType = size ? 1 + data[0] % 4 : 1;
    readProfileDocument(*state, state->pressCounters, state->deviceType, doc);
    checkFirstError(doc);

    doc.setDoc(TextCodec::fromUtf8(bytes));
    checkAttributeShortcuts(doc.doc());
    const bool wellFormed = doc.isWellFormed();
    checkFirstError(doc);
    ProfileReadReport report;
    if (readProfileDocument(*state, state->pressCounters, state->deviceType, doc,
                            DamagedProfile::ReadWhatCan, &report)
        == ProfileReadResult::Ok)
        checkEncoding(*state, report);
    if (wellFormed)
        editAndCompare(doc, size ? data[size - 1] : 0);
    return 0;
}
