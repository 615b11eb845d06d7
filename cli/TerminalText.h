#pragma once

#include <string>
#include <string_view>

// Text from a profile made safe to print: names and steps come from files that anyone may
// have written, and a terminal acts on the control characters in them (clearing the screen,
// retitling the window), while tabs and line breaks would break the tab-separated lines.
namespace TerminalText {

// Control characters as escapes: "\t", "\n", "\r", "\x1b" (C0 and DEL), "\u009b" (C1); bytes
// that are not UTF-8 as "\xff". Everything else, backslashes included, stays as it is.
std::string escaped(std::string_view text);

// The same for a JSON document: C0 characters are escaped already, DEL and C1 are not, so
// they become "\u007f" and the like; the document means the same.
std::string jsonWithoutControls(std::string_view document);

} // namespace TerminalText
