#pragma once

#include "profile/ElementIndex.h"
#include "profile/FileStore.h"
#include "profile/MarkupError.h"
#include "profile/ResultLog.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A whole XML document as one UTF-16 text with an index of its elements and a current
// position, for walking, extending, loading and saving it.
//
// The position is the parent (0 at the top level) and the current element among its children
// (0 before the first). Searches and additions work among the parent's children.
class MarkupDocument {
public:
    enum Flag {
        IgnoreCase = 0x01,   // names compare without regard to ASCII case
        WriteUtf8Bom = 0x02, // save puts a byte order mark before UTF-8
        WriteUtf16 = 0x04,   // save writes UTF-16LE with a byte order mark
        ReadOnly = 0x08,     // additions and attribute changes are refused
        WriteOnly = 0x10,    // searches find nothing
    };

    // Files above this are refused; the largest profile is far below it.
    static constexpr std::uintmax_t MaxFileBytes = 256u << 20;
    // Offsets in the index are 32-bit.
    static constexpr std::size_t MaxTextLength = std::size_t(1) << 31;

    explicit MarkupDocument(int flags = 0)
        : m_flags(flags)
    {}

    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }

    // Replaces the text and rebuilds the index; true when the text is well formed.
    bool setDoc(std::u16string_view text);
    const std::u16string &doc() const { return m_text; }
    // Room for a text of that many units, for callers that build large documents.
    void reserve(std::size_t units);
    // No markup errors in the last parse and, now, exactly one top-level element.
    bool isWellFormed() const;
    // The first problem the last parse noticed (none for a well-formed text), with its line.
    const MarkupError &firstError() const { return m_firstError; }

    // False when the file cannot be opened or read (the text is then empty). Whether the text
    // is well formed is isWellFormed()'s.
    bool load(const std::filesystem::path &path);
    // Why the last load failed, and in the system's words.
    FileStore::ReadStatus loadStatus() const { return m_loadStatus; }
    const std::string &loadError() const { return m_loadError; }
    // What load does after reading the file: encoding detection, conversion, parse.
    void loadBytes(std::string_view bytes);
    // Writes the text in its declared encoding; replaces the file only as a whole, and only
    // a regular file. `failure` (if given) says why it failed.
    bool save(const std::filesystem::path &path, FileStore::WriteFailure *failure = nullptr);
    std::string encodedText();

    // What the last load, save or parse noticed.
    const std::string &result() const { return m_log.text(); }
    bool resultHas(std::string_view event) const { return m_log.has(event); }

    void resetPos();
    // Next sibling named `name` (any element when empty) after the current one.
    bool findElem(std::u16string_view name = {});
    bool intoElem();
    bool outOfElem();
    bool addElem(std::u16string_view name);
    bool setAttrib(std::u16string_view name, std::u16string_view value);
    bool setAttrib(std::u16string_view name, int value);
    std::u16string getAttrib(std::u16string_view name) const;
    // The value as written, references not decoded; valid until the next change.
    std::u16string_view rawAttrib(std::u16string_view name) const;
    // Raw values of several attributes in one pass; missing ones are null views.
    void rawAttribs(std::span<const std::u16string_view> names,
                    std::span<std::u16string_view> values) const;
    // Tag name of the current element, empty when there is none.
    std::u16string_view tagName() const;

    std::uint32_t currentElement() const { return m_current; }
    std::uint32_t parentElement() const { return m_parent; }

private:
    bool editable() const { return !(m_flags & ReadOnly); }
    bool ignoreCase() const { return m_flags & IgnoreCase; }
    std::u16string_view nameOf(std::uint32_t elem) const;
    std::u16string_view startTagOf(std::uint32_t elem) const;
    bool isShortForm(std::uint32_t elem) const;
    bool fits(std::size_t growth) const { return m_text.size() + growth < MaxTextLength; }
    std::uint32_t insertAfterSibling(std::uint32_t sibling, std::u16string_view name);
    std::uint32_t insertFirstChild(std::uint32_t parent, std::u16string_view name);
    void parse();

    std::u16string m_text;
    std::u16string m_piece; // what an edit inserts, kept to spare allocations
    ElementIndex m_index;
    ResultLog m_log;
    int m_flags = 0;
    FileStore::ReadStatus m_loadStatus = FileStore::ReadStatus::Ok;
    std::string m_loadError;
    bool m_markupOk = false;
    MarkupError m_firstError;
    std::uint32_t m_parent = 0;
    std::uint32_t m_current = 0;
    // Names set on the element addElem made last: a new one is appended without a search.
    std::uint32_t m_freshElement = 0;
    std::vector<std::u16string> m_freshNames;
    // Where the last attribute read ended, to start the next search there.
    mutable std::uint32_t m_hintElement = 0;
    mutable std::size_t m_hintOffset = 0;
};
