#pragma once

#include <string>
#include <vector>

// What the command line asked for.
struct CliOptions {
    int simVariant = 0;        // 1..4: talk to the built-in emulated keyboard
    std::string traceFile;     // append every report to this file
    std::string command;       // detect, version, defaults, convert, show, diff, set, lights,
                               // write, read, sync, counters, firmware
    std::string input;         // IN, A or FILE; "-" for standard input
    std::string input2;        // diff's B
    std::string output;        // -o; "-" for standard output
    int variant = 0;           // --variant, 0 when not given
    bool lenient = false;      // --lenient: read damaged profiles as far as they go
    std::string heatmap;       // counters --heatmap FILE.png
    bool noBackup = false;     // firmware --no-backup
    bool json = false;         // --json: one JSON document on stdout
    bool keyboardOnly = false; // diff --keyboard: only what the keyboard keeps
    // set: the key, its layer, what it becomes (single, combo, macro, emulation, multimedia,
    // mouse, function, power, default, clear) and the name that takes
    std::string key;
    std::string layer;
    std::string action;
    std::string actionName;
    // lights: KEY=#RRGGBB items and --all's colour
    std::vector<std::string> keyColours;
    std::string allColour;
};

// Outcome of parsing: options to run, help to print, or a usage error.
struct CliParse {
    bool run = false;
    int exitCode = 0;
    std::string text;     // the help asked for (stdout), or the one-line usage error (stderr)
    std::string jsonText; // with --json, a usage error in JSON too, for stdout
    CliOptions options;
};

CliParse parseCommandLine(int argc, const char *const *argv);
