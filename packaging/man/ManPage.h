#pragma once

#include "sim/UsageDoc.h"

#include <string>

// A usage document as a manual page in roff (man macros): every entry is a tagged paragraph
// of its own, nested entries indented under it, so that no two can run together.
namespace ManPage {

// `date` as "2025-12-09", `source` as "quillo 1.1.3"; `seeAlso` like "quillo(1), quillo-sim(1)".
std::string roff(const UsageDoc &doc, const std::string &date, const std::string &source,
                 const std::string &seeAlso);

} // namespace ManPage
