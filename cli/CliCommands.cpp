#include "cli/CliCommands.h"

#include <algorithm>
#include <array>

namespace {

using CliCommands::Command;
using CliCommands::Option;

constexpr const char *Program = "quillo-cli";
constexpr const char *Globals = "[--sim N] [--trace FILE]";

constexpr Option InProfile{"IN", "the profile to read; - reads it from standard input"};
constexpr Option OutProfile{"-o OUT", "the profile to write, replaced as a whole and only when "
                                      "all went well; - writes it to standard output"};
constexpr Option Variant{"--variant N",
                         "read the profile as one of model N (1..4) whatever its root element "
                         "names; without it, the model the profile names"};
constexpr Option Json{"--json", "answer with one JSON document on standard output"};

constexpr Option detectOptions[] = {Json};
constexpr const char *detectDetails[] = {"Without a keyboard it prints 0 and exits with 3."};

constexpr Option versionOptions[] = {Json};

constexpr Option defaultsOptions[]
    = {{"--variant N", "the model: 1 Quillo(RGB)BLe, 2 Quillo(S)BLe, 3 Quillo(S), 4 Quillo(RGB)"},
       OutProfile,
       Json};

constexpr Option convertOptions[] = {InProfile, OutProfile, Variant, Json};

constexpr Option showOptions[] = {InProfile, Variant, Json};
constexpr const char *showDetails[]
    = {"One line per key and layer, fields separated by tabs: the key's number, the layer (0 top, "
       "1 Fn), the category, what the key does and the key's name. Control characters in names "
       "are printed escaped, as \\x1b or \\t."};

constexpr Option diffOptions[]
    = {{"A, B", "the profiles compared; one of them may be - for standard input"},
       {"--variant N", "read both as profiles of model N; without it, both must name one model"},
       {"--keyboard", "leave out what the keyboard does not keep: the lists, the lights of a model "
                      "without them, a step's Down or UP, a recorded macro's unused delay"},
       Json};
constexpr const char *diffDetails[]
    = {"One line per key and layer whose assignment differs, then the lights and the entries of "
       "the lists, old before \"->\", new after it. Where two actions read alike, brackets name "
       "what differs. A line that ends in \"(same on the keyboard)\" differs only in what the "
       "keyboard does not keep.",
       "It exits with 0 when the profiles are equal, 1 when they differ and 2 on any trouble, "
       "like diff(1); it never talks to the keyboard."};

constexpr Option setOptions[]
    = {InProfile,
       {"--key KEY", "the key: its number 1..108 or its name (see KEYS)"},
       {"--layer top|fn", "the layer"},
       {"--single KEYNAME", "a single key, by the name show prints for it"},
       {"--combo NAME", "an entry of the profile's combination list, by its name"},
       {"--macro NAME", "an entry of the profile's macro list"},
       {"--emulation NAME", "an entry of the profile's emulation list"},
       {"--multimedia NAME", "a code of the Multimedia page, by its name there in English or "
                             "Chinese, or as show prints it"},
       {"--mouse NAME", "a code of the Mouse page"},
       {"--function NAME", "a code of the Function page (those of the profile's model)"},
       {"--power NAME", "a code of the Power page"},
       {"--default", "the key's factory assignment on that layer"},
       {"--clear", "not set"},
       OutProfile,
       Variant,
       Json};
constexpr const char *setDetails[]
    = {"Exactly one of --single to --clear is given. It is the key settings dialog's OK: a key "
       "that becomes FN is FN on both layers. An unknown key, name or entry is refused with exit "
       "status 2 and the closest valid names."};

constexpr Option lightsOptions[] = {
    InProfile,
    {"--all #RRGGBB", "every key's colour, set first"},
    {"--key KEY=#RRGGBB", "one key's colour, red, green and blue as on the web; repeated for more "
                          "keys"},
    OutProfile,
    Variant,
    Json};
constexpr const char *lightsDetails[]
    = {"Only the RGB models (1 and 4) have per-key colours. Quote colours in a shell: it takes a "
       "word that starts with # for a comment."};

constexpr Option writeOptions[] = {InProfile, Json};
constexpr const char *writeDetails[]
    = {"The profile must be one of the attached keyboard's model. What the keyboard gets other "
       "than the profile states it (a count above 255, an unknown step) is said on standard "
       "error; a step the keyboard would play as something else (a delay where a key belongs) is "
       "refused before anything is sent."};

constexpr Option readOptions[] = {OutProfile, Json};

constexpr Option syncOptions[] = {InProfile, OutProfile, Json};
constexpr const char *syncDetails[]
    = {"OUT is checked before the keyboard is written; when a later step fails, the message says "
       "that the keyboard holds IN."};

constexpr Option countersOptions[]
    = {{"--heatmap PNG", "also draw the counts as the main window's heatmap into the picture PNG"},
       Json};
constexpr const char *countersDetails[]
    = {"Two lines for the most and the least used key, then one line per key: its number, its "
       "count and its name."};

constexpr Option firmwareOptions[]
    = {{"FILE", "the firmware image; its name begins with the model's name"},
       {"--no-backup", "do not save the keyboard's key settings and lights first"},
       Json};
constexpr const char *firmwareDetails[]
    = {"The whole image is checked before anything is sent. The keyboard's key settings and lights "
       "are first saved as a profile in $XDG_DATA_HOME/quillo/backups (~/.local/share/quillo/"
       "backups), named by model and time; when they cannot be read or saved, nothing is sent."};

constexpr std::array<Command, 13> commands = {{
    {"detect", "[--json]", "print the attached keyboard's variant and model name", detectOptions,
     detectDetails, nullptr, false, 0},
    {"version",
     "[--json]",
     "print the keyboard's version text",
     versionOptions,
     {},
     nullptr,
     false,
     0},
    {"defaults",
     "--variant N -o OUT [--json]",
     "write the profile of a freshly reset configuration",
     defaultsOptions,
     {},
     nullptr,
     true,
     2},
    {"convert",
     "IN -o OUT [--variant N] [--json]",
     "read a profile and write it again with Quillo's own writer",
     convertOptions,
     {},
     "IN",
     true,
     1},
    {"show", "IN [--variant N] [--json]", "print what every key does on both layers", showOptions,
     showDetails, "IN", false, 1},
    {"diff", "A B [--variant N] [--keyboard] [--json]", "print what differs between two profiles",
     diffOptions, diffDetails, "A", false, 1},
    {"set", "IN --key KEY --layer top|fn ACTION -o OUT [--variant N] [--json]",
     "change what one key does on one layer", setOptions, setDetails, "IN", true, 1},
    {"lights", "IN [--all #RRGGBB] (--key KEY=#RRGGBB)... -o OUT [--variant N] [--json]",
     "give keys their backlight colours (RGB models)", lightsOptions, lightsDetails, "IN", true, 1},
    {"write", "IN [--json]", "write a profile's keys (and lights on RGB models) to the keyboard",
     writeOptions, writeDetails, "IN", false, 0},
    {"read",
     "-o OUT [--json]",
     "read keys and lights from the keyboard into a profile",
     readOptions,
     {},
     nullptr,
     true,
     0},
    {"sync", "IN -o OUT [--json]", "write IN, then read the keyboard back into OUT", syncOptions,
     syncDetails, "IN", true, 0},
    {"counters", "[--heatmap PNG] [--json]",
     "print the most and least used keys and every key's count and name", countersOptions,
     countersDetails, nullptr, false, 0},
    {"firmware", "FILE [--no-backup] [--json]",
     "save the keyboard's settings, then download a firmware file to it", firmwareOptions,
     firmwareDetails, "FILE", false, 0},
}};

std::vector<UsageEntry> globalOptions()
{
    return {
        {"--sim N",
         {"talk to the built-in emulated keyboard of variant N instead of a real one: 1 "
          "Quillo(RGB)BLe, 2 Quillo(S)BLe, 3 Quillo(S), 4 Quillo(RGB)"},
         {}},
        {"--trace FILE",
         {"append every report sent to and read from the keyboard to FILE, one a line"},
         {}},
        {"--lenient",
         {"read a damaged profile as far as it goes; keys the file does not describe get their "
          "defaults, and it says so on standard error"},
         {}},
        {"--json",
         {"answer with one JSON document on standard output, a failure too: {\"error\": "
          "MESSAGE, \"status\": N}"},
         {}},
        {"-h, --help", {"show this text; after a command, that command's"}, {}},
        {"--version", {"show quillo-cli's version"}, {}},
    };
}

UsageSection exitStatus()
{
    return {"Exit status",
            {},
            {{"0", {"done"}, {}},
             {"1",
              {"a file or its data: a profile or image that cannot be read or written, or "
               "a key the keyboard cannot take"},
              {}},
             {"2", {"bad usage: an unknown command, option, key or name"}, {}},
             {"3", {"the keyboard: none attached, no access to it, unplugged, or no answer"}, {}}},
            {"diff exits like diff(1): 0 equal, 1 different, 2 any trouble; it never talks to "
             "the keyboard."}};
}

UsageSection keyNames()
{
    return {"Keys",
            {"KEY is a key number 1..108 (the digit keys are 15..24) or a key's name as show "
             "prints it for a fresh profile's top layer: ESC, F1, A, BACKSPACE, LSHIFT, FN, "
             "(Enter), Mute; letters in either case."},
            {},
            {}};
}

UsageEntry commandEntry(const Command &command)
{
    UsageEntry entry{std::string(command.name) + ' ' + command.arguments, {command.summary}, {}};
    for (const Option &option : command.options)
        entry.entries.push_back({option.term, {option.text}, {}});
    return entry;
}

} // namespace

namespace CliCommands {

std::span<const Command> all()
{
    return commands;
}

const Command *find(std::string_view name)
{
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const Command &command) { return name == command.name; });
    return found == commands.end() ? nullptr : &*found;
}

std::string synopsis(const Command &command)
{
    return std::string(Program) + ' ' + Globals + ' ' + command.name + ' ' + command.arguments;
}

std::string overview()
{
    UsageDoc doc;
    doc.synopsis = {std::string(Program) + ' ' + Globals + " COMMAND [ARGS]",
                    std::string(Program) + " COMMAND --help"};
    doc.description = {"Quillo's command-line companion: keyboard settings from scripts."};
    UsageSection list{"Commands", {}, {}, {}};
    for (const Command &command : commands)
        list.entries.push_back({command.name, {command.summary}, {}});
    doc.sections = {list, {"Options", {}, globalOptions(), {}}, exitStatus()};
    return UsageText::help(doc);
}

std::string help(const Command &command)
{
    UsageDoc doc;
    doc.synopsis = {synopsis(command)};
    std::string summary = command.summary;
    summary[0] = char(summary[0] - 'a' + 'A');
    doc.description = {summary + '.'};
    for (const char *paragraph : command.details)
        doc.description.emplace_back(paragraph);
    UsageSection options{"Arguments and options", {}, {}, {}};
    for (const Option &option : command.options)
        options.entries.push_back({option.term, {option.text}, {}});
    doc.sections = {options};
    const std::string_view name = command.name;
    if (name == "set" || name == "lights")
        doc.sections.push_back(keyNames());
    return UsageText::help(doc) + '\n'
           + UsageText::wrapped("quillo-cli --help lists the other commands, the options every "
                                "command takes and the exit status.",
                                0, 0);
}

UsageDoc manual()
{
    UsageDoc doc;
    doc.program = Program;
    doc.summary = "Quillo's command-line companion: keyboard settings from scripts";
    doc.synopsis = {std::string(Program) + ' ' + Globals + " COMMAND [ARGS]",
                    std::string(Program) + " COMMAND --help"};
    doc.description = {
        "quillo-cli does from scripts what Quillo does with clicks: it reads, changes and "
        "compares profile files, writes them to a Quillo keyboard or reads the keyboard back, "
        "reads its press counters and downloads firmware. It talks to the first Quillo keyboard "
        "attached, or with --sim N to an emulated one.",
        "A profile's model is the one its root element names. A damaged profile is refused with "
        "the line where it breaks unless --lenient is given. Output files are checked before the "
        "keyboard is asked and replaced as a whole; a device, a pipe, a folder or a read-only "
        "file is refused."};
    UsageSection list{"Commands", {}, {}, {}};
    for (const Command &command : commands) {
        UsageEntry entry = commandEntry(command);
        for (const char *paragraph : command.details)
            entry.text.emplace_back(paragraph);
        list.entries.push_back(entry);
    }
    doc.sections = {list, {"Options", {}, globalOptions(), {}}, keyNames(), exitStatus()};
    doc.sections.push_back(
        {"Files",
         {},
         {{"$XDG_DATA_HOME/quillo/backups/",
           {"the profiles firmware saves before an update (~/.local/share/quillo/backups/ "
            "without XDG_DATA_HOME)"},
           {}}},
         {}});
    doc.sections.push_back(
        {"Examples",
         {},
         {{"quillo-cli read -o mine.pro", {"save what the keyboard holds"}, {}},
          {"quillo-cli diff mine.pro gaming.pro", {"what would change"}, {}},
          {"quillo-cli write gaming.pro", {"give the keyboard another profile"}, {}},
          {"quillo-cli set mine.pro --key \"CAPS LOCK\" --layer top --single LCTRL -o mine.pro",
           {"Caps Lock becomes a second left Ctrl"},
           {}},
          {"quillo-cli show mine.pro --json | jq '.keys[0]'", {"the first key as JSON"}, {}},
          {"quillo-cli read -o - | quillo-cli diff mine.pro -",
           {"compare a profile with what the keyboard holds"},
           {}}},
         {}});
    return doc;
}

} // namespace CliCommands
