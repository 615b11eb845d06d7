#include "app/SimUsage.h"

#include "sim/FaultOption.h"

namespace SimUsage {

UsageDoc doc()
{
    UsageEntry fault{"--fault MODE[@N]",
                     {"make the emulated keyboard fail in one way: from the start, or with @N "
                      "once N reports have crossed the cable (a line of a --trace file is one "
                      "report), so that a job fails half-way. MODE is one of:"},
                     {}};
    for (const quillosim::FaultOption::Mode &mode : quillosim::FaultOption::modes())
        fault.entries.push_back({mode.name, {mode.description}, {}});

    UsageDoc usage;
    usage.program = "quillo-sim";
    usage.summary = "Quillo with an emulated keyboard, for trying it without one";
    usage.synopsis = {"quillo-sim [--variant N] [--screenshot PATH] [--trace FILE] [--profile "
                      "FILE] [--fault MODE[@N]] [--quit-after SECONDS]",
                      "quillo-sim --help | --version"};
    usage.description = {"Runs Quillo against an emulated keyboard (by default variant 4, "
                         "Quillo(RGB)), for trying Quillo without a keyboard. Nothing is written "
                         "to a real keyboard."};
    usage.sections = {
        {"Options",
         {},
         {{"--variant N",
           {"emulate variant N: 1 Quillo(RGB)BLe, 2 Quillo(S)BLe, 3 Quillo(S), 4 Quillo(RGB)"},
           {}},
          {"--screenshot PATH",
           {"save a picture of the main window after its first paint to PATH (PNG) and exit"},
           {}},
          {"--trace FILE",
           {"append every report to FILE: \"> \" and the 65 bytes sent, \"< \" and the 64 bytes "
            "received, one report a line"},
           {}},
          {"--profile FILE",
           {"open the profile FILE once the main window is up, as the Open button does"},
           {}},
          fault,
          {"--quit-after SECONDS",
           {"end the program SECONDS (up to a day, fractions allowed) after the main window's "
            "first paint, for measuring a run that sits idle; with --screenshot the picture is "
            "saved at the paint as usual, and the program stays up until then"},
           {}},
          {"-h, --help", {"show this text and exit"}, {}},
          {"--version", {"show the version and exit"}, {}}},
         {}},
        {"Exit status",
         {},
         {{"0", {"the window was closed"}, {}},
          {"1", {"the screenshot or the trace could not be written"}, {}},
          {"2", {"bad usage"}, {}}},
         {}},
    };
    return usage;
}

} // namespace SimUsage
