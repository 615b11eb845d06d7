#pragma once

#include "sim/UsageDoc.h"

// quillo-sim's command line as data: its --help and its manual page are made from it.
namespace SimUsage {

UsageDoc doc();

} // namespace SimUsage
