#include "profile/ElementIndex.h"

#include "profile/LargeBuffer.h"

#include <algorithm>

ElementIndex::ElementIndex()
{
    clear();
}

void ElementIndex::clear()
{
    m_pages.resize(1);
    m_pages[0].clear();
    m_pages[0].emplace_back(); // the document
    m_count = 1;
}

void ElementIndex::reserve(std::uint32_t records)
{
    if (m_pages.size() == 1)
        m_pages[0].reserve(std::min(records, PageSize));
}

std::uint32_t ElementIndex::add()
{
    if (m_count >= MaxRecords)
        return 0;
    const std::uint32_t i = m_count;
    if (i / PageSize >= m_pages.size()) {
        m_pages.emplace_back();
        m_pages.back().reserve(PageSize);
        LargeBuffer::advise(m_pages.back().data(), PageSize * sizeof(ElementRecord));
    }
    m_pages.back().emplace_back();
    ++m_count;
    return i;
}

void ElementIndex::appendChild(std::uint32_t parent, std::uint32_t child)
{
    ElementRecord &p = (*this)[parent];
    ElementRecord &c = (*this)[child];
    c.parent = parent;
    c.next = 0;
    c.prev = p.last;
    if (p.last)
        (*this)[p.last].next = child;
    else
        p.first = child;
    p.last = child;
}

void ElementIndex::insertAfter(std::uint32_t sibling, std::uint32_t node)
{
    ElementRecord &s = (*this)[sibling];
    ElementRecord &n = (*this)[node];
    n.parent = s.parent;
    n.prev = sibling;
    n.next = s.next;
    if (s.next)
        (*this)[s.next].prev = node;
    else
        (*this)[s.parent].last = node;
    s.next = node;
}

void ElementIndex::grow(std::uint32_t elem, std::int64_t delta)
{
    for (std::uint32_t a = elem; a != 0;) {
        ElementRecord &r = (*this)[a];
        r.length = std::uint32_t(r.length + delta);
        shiftSiblingsAfter(a, delta);
        a = r.parent;
    }
}

void ElementIndex::shiftSiblingsAfter(std::uint32_t elem, std::int64_t delta)
{
    for (std::uint32_t s = (*this)[elem].next; s != 0; s = (*this)[s].next)
        shiftSubtree(s, delta);
}

void ElementIndex::shiftChildren(std::uint32_t elem, std::int64_t delta)
{
    for (std::uint32_t c = (*this)[elem].first; c != 0; c = (*this)[c].next)
        shiftSubtree(c, delta);
}

void ElementIndex::shiftSubtree(std::uint32_t root, std::int64_t delta)
{
    // Pre-order walk without recursion: trees from files may be deep.
    std::uint32_t e = root;
    while (true) {
        ElementRecord &r = (*this)[e];
        r.start = std::uint32_t(r.start + delta);
        if (r.first) {
            e = r.first;
            continue;
        }
        while (e != root && (*this)[e].next == 0)
            e = (*this)[e].parent;
        if (e == root)
            return;
        e = (*this)[e].next;
    }
}
