#pragma once

#include "profile/ElementIndex.h"
#include "profile/MarkupError.h"
#include "profile/ResultLog.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Builds the element index of a document text in one pass. Tolerant: it never stops at an
// error but notes it in the log and goes on; the result says whether the markup had no syntax
// or nesting errors (the number of top-level elements is not judged here).
class MarkupParser {
public:
    MarkupParser(std::u16string_view text, ElementIndex &index, ResultLog &log, bool ignoreCase);

    bool parse();
    // The first problem the last parse noticed; its line is not counted here.
    const MarkupError &firstError() const { return m_first; }

private:
    std::size_t startTag(std::size_t lt);
    std::size_t endTag(std::size_t lt);
    std::size_t exclamation(std::size_t lt);
    void closeOpenElements(std::size_t keep, std::uint32_t into);
    void closeAtEnd();
    void flatten(std::uint32_t unended, std::uint32_t into);
    void error(MarkupProblem problem, std::size_t offset, std::u16string_view tagName = {});
    void remember(MarkupProblem problem, std::size_t offset, std::u16string_view tagName);
    std::u16string_view nameOf(std::uint32_t elem) const;
    void pushOpen(std::uint32_t elem);
    void popOpen();
    bool maybeOpen(std::u16string_view name) const;
    std::u16string fold(std::u16string_view name) const;
    std::u16string foldedName(std::uint32_t elem) const;

    static constexpr std::size_t Stop = std::size_t(-1);
    static constexpr std::size_t ShallowDepth = 32;

    std::u16string_view m_text;
    ElementIndex &m_index;
    ResultLog &m_log;
    bool m_ignoreCase;
    bool m_wellFormed = true;
    MarkupError m_first;
    std::vector<std::uint32_t> m_open;
    std::unordered_map<std::u16string, std::size_t> m_deepNames; // open below ShallowDepth
};
