#pragma once

#include "sim/UsageDoc.h"

// quillo-gadget's command line as data: its --help and its manual page are made from it.
namespace GadgetUsage {

UsageDoc doc();

} // namespace GadgetUsage
