#pragma once

#include <string_view>

// Charset names and aliases that documents may declare, mapped to the converter names of the
// C library's iconv.
namespace CharsetTable {

// iconv name for a declared charset (case-insensitive), or an empty view when unknown.
std::string_view iconvName(std::string_view charset);

// Number of names the table knows (for tests that open every converter).
int size();
std::string_view nameAt(int i);

} // namespace CharsetTable
