#pragma once

#include <string_view>

// The named character entities of HTML 4, which attribute values may use on reading.
namespace HtmlEntities {

inline constexpr int Count = 252;

// Code point of an entity name such as "oslash" (without '&' and ';'), or -1.
int codePoint(std::u16string_view name);

} // namespace HtmlEntities
