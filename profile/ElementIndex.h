#pragma once

#include <cstdint>
#include <vector>

// One indexed element: where it lies in the document text and its links in the tree.
// Links are record numbers; 0 means none.
struct ElementRecord {
    std::uint32_t start = 0;          // offset of its '<'
    std::uint32_t startTagLength = 0; // up to and including the start tag's '>'
    std::uint32_t length = 0;         // whole element, end tag included
    std::uint32_t parent = 0;
    std::uint32_t first = 0; // first child
    std::uint32_t last = 0;  // last child
    std::uint32_t prev = 0;
    std::uint32_t next = 0;
};

// The element index of a document, in pages of 65536 records. Record 0 stands for the
// document itself: its first and last links are the top-level elements.
class ElementIndex {
public:
    static constexpr std::uint32_t PageSize = 65536;
    // Far above what any profile needs (about 600000 for the largest), and bounded so that
    // no document can claim unbounded memory for its index.
    static constexpr std::uint32_t MaxPages = 64;
    static constexpr std::uint32_t MaxRecords = MaxPages * PageSize;

    ElementIndex();

    void clear();
    // Room for that many records before the first page must grow.
    void reserve(std::uint32_t records);
    std::uint32_t count() const { return m_count; } // records in use, record 0 included

    // A new unlinked record, or 0 when the index is full.
    std::uint32_t add();

    // References stay valid only until the next add().
    ElementRecord &operator[](std::uint32_t i) { return m_pages[i / PageSize][i % PageSize]; }
    const ElementRecord &operator[](std::uint32_t i) const
    {
        return m_pages[i / PageSize][i % PageSize];
    }

    void appendChild(std::uint32_t parent, std::uint32_t child);
    // Links `node` into the sibling list of `sibling`, right after it.
    void insertAfter(std::uint32_t sibling, std::uint32_t node);

    // Bookkeeping after `delta` units were inserted (or removed) in the text inside `elem`:
    // it and its ancestors get longer and everything behind them moves.
    void grow(std::uint32_t elem, std::int64_t delta);
    // Moves the siblings after `elem` (and their subtrees), or its children.
    void shiftSiblingsAfter(std::uint32_t elem, std::int64_t delta);
    void shiftChildren(std::uint32_t elem, std::int64_t delta);

private:
    void shiftSubtree(std::uint32_t elem, std::int64_t delta);

    // The last page grows as records are added, so small documents stay small.
    std::vector<std::vector<ElementRecord>> m_pages;
    std::uint32_t m_count = 1;
};
