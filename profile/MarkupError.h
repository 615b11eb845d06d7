#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What can be wrong with a document's markup. Each kind is logged under its event name.
enum class MarkupProblem : std::uint8_t {
    None,
    NoRootElement,     // no element at all
    SecondRoot,        // an element beside the first top-level one
    LoneEndTag,        // an end tag without a matching start tag
    UnendedElement,    // a start tag that an outer end tag closes first
    EndsInsideElement, // the text ends while elements are still open
    UnfinishedTag,     // a tag without its closing '>'
    StrayLessThan,     // a '<' that starts no tag
    UnfinishedDoctype,
    UnknownDeclaration, // "<!" that is no comment, CDATA section or document type
    UnclosedComment,
    UnclosedCdata,
    TooManyElements, // more than the index holds; the rest is not indexed
};

// The event name of a problem in the document's result log.
const char *markupEventName(MarkupProblem problem);

// The first problem a parse noticed, and where.
struct MarkupError {
    MarkupProblem problem = MarkupProblem::None;
    std::size_t offset = 0; // in the text, where the problem is
    int line = 0;           // 1-based line of `offset`
    std::u16string tagName; // the element concerned, if any (at most 64 units)

    explicit operator bool() const { return problem != MarkupProblem::None; }
};
