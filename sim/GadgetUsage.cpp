#include "sim/GadgetUsage.h"

#include "sim/FaultOption.h"

namespace GadgetUsage {

UsageDoc doc()
{
    UsageEntry fault{"--fault MODE[@N]",
                     {"make the emulated keyboard fail in one way: from the start, or with @N "
                      "once N reports have crossed the cable (a line of a --trace file is one "
                      "report). A keyboard unplugged this way answers nothing until the host "
                      "lets go of the gadget. MODE is one of:"},
                     {}};
    for (const quillosim::FaultOption::Mode &mode : quillosim::FaultOption::modes())
        fault.entries.push_back({mode.name, {mode.description}, {}});

    UsageDoc usage;
    usage.program = "quillo-gadget";
    usage.summary = "the emulated Quillo keyboard answering on a USB gadget's HID device";
    usage.synopsis = {"quillo-gadget DEVICE [--variant N] [--trace FILE] [--fault MODE[@N]]",
                      "quillo-gadget --help | --version"};
    usage.description
        = {"Answers on DEVICE, the vendor HID function of a USB gadget (/dev/hidgN: 64-byte "
           "reports without report numbers), as a Quillo keyboard does on the cable, so that a "
           "computer the gadget is plugged into sees a Quillo keyboard that Quillo and "
           "quillo-cli can talk to. The keyboard is the emulated one of quillo-sim and "
           "quillo-cli --sim, by default variant 4, Quillo(RGB); the gadget's product "
           "identifier should be the variant's (5030, 5130, 5230 or 5330, vendor 0483).",
           "Reports of another length than 64 bytes are refused (the first one is named on "
           "standard error). When the host lets go of the gadget (it is unbound, the keyboard "
           "unplugged), the keyboard loses what it was in the middle of, as one losing power "
           "does; its memory stays, and it answers again once the gadget is bound. The program "
           "runs until it gets SIGTERM or SIGINT."};
    usage.sections = {
        {"Options",
         {},
         {{"--variant N",
           {"emulate variant N: 1 Quillo(RGB)BLe, 2 Quillo(S)BLe, 3 Quillo(S), 4 Quillo(RGB)"},
           {}},
          {"--trace FILE",
           {"append every report to FILE as quillo-cli --trace does: \"> \" and the 65 bytes "
            "the host's program wrote (report number 0 first), \"< \" and the 64 bytes it read, "
            "one report a line, written out line by line"},
           {}},
          fault,
          {"-h, --help", {"show this text and exit"}, {}},
          {"--version", {"show the version and exit"}, {}}},
         {}},
        {"Exit status",
         {},
         {{"0", {"stopped by SIGTERM or SIGINT"}, {}},
          {"1",
           {"DEVICE could not be opened or failed for good (it vanished), or the trace could "
            "not be written"},
           {}},
          {"2", {"bad usage"}, {}}},
         {}},
    };
    return usage;
}

} // namespace GadgetUsage
