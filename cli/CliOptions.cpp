#include "cli/CliOptions.h"

#include "cli/TerminalText.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

struct CommandInfo {
    const char *name;
    const char *synopsis;
    const char *summary;
    bool input; // takes IN or FILE
    const char *inputName;
    bool output;        // needs -o FILE
    bool variant;       // takes --variant N
    bool variantNeeded; // ... and needs it
    bool json = false;  // takes --json
};

constexpr std::array<CommandInfo, 13> commands = {{
    {"detect", "detect [--json]", "print the attached keyboard's variant and model name", false, "",
     false, false, false, true},
    {"version", "version [--json]", "print the keyboard's version text", false, "", false, false,
     false, true},
    {"defaults", "defaults --variant N -o FILE",
     "write the profile of a freshly reset configuration", false, "", true, true, true},
    {"convert", "convert IN -o OUT [--variant N]",
     "read a profile and write it again with Quillo's own writer", true, "IN", true, true, false},
    {"show", "show IN [--variant N] [--json]", "print what every key does on both layers", true,
     "IN", false, true, false, true},
    {"diff", "diff A B [--variant N] [--keyboard] [--json]",
     "print what differs between two profiles (exit 0 equal, 1 different); --keyboard leaves "
     "out what the keyboard does not keep",
     true, "A", false, true, false, true},
    {"set", "set IN --key KEY --layer top|fn ACTION -o OUT [--variant N]",
     "change what one key does on one layer", true, "IN", true, true, false},
    {"lights", "lights IN (--key KEY=#RRGGBB)... [--all #RRGGBB] -o OUT [--variant N]",
     "give keys their backlight colours (RGB models)", true, "IN", true, true, false},
    {"write", "write IN", "write a profile's keys (and lights on RGB models) to the keyboard", true,
     "IN", false, false, false},
    {"read", "read -o OUT", "read keys and lights from the keyboard into a profile", false, "",
     true, false, false},
    {"sync", "sync IN -o OUT", "write IN, then read the keyboard back into OUT", true, "IN", true,
     false, false},
    {"counters", "counters [--heatmap PNG] [--json]",
     "print the most and least used keys and every key's count and name; draw them as a heatmap",
     false, "", false, false, false, true},
    {"firmware", "firmware FILE [--no-backup]",
     "save the keyboard's settings, then download a firmware file to it", true, "FILE", false,
     false, false},
}};

std::string usageText()
{
    std::string text = "Usage: quillo-cli [--sim VARIANT] [--trace FILE] COMMAND [ARGS]\n"
                       "\nCommands:\n";
    for (const CommandInfo &entry : commands) {
        std::string line = "  " + std::string(entry.synopsis);
        // A long synopsis gets a line of its own.
        line = line.size() < 36 ? line + std::string(36 - line.size(), ' ')
                                : line + "\n" + std::string(36, ' ');
        text += line + entry.summary + "\n";
    }
    text += "\nOptions:\n"
            "  --sim VARIANT                     use the built-in emulated keyboard of variant "
            "1..4\n"
            "  --trace FILE                      append every HID report to FILE\n"
            "  --lenient                         read a damaged profile as far as it goes\n"
            "  --json                            detect, version, show, diff, counters: print one\n"
            "                                    JSON document with the same content\n"
            "  --help                            show this text\n"
            "  --version                         show quillo-cli's version\n"
            "\nA profile's variant is --variant N, or the attached keyboard's without it.\n"
            "A damaged profile is refused unless --lenient is given.\n"
            "Exit status: 0 done, 1 failed (the reason on stderr), 2 bad usage.\n"
            "diff exits with 0 when the profiles are equal, 1 when they differ and 2 when\n"
            "one of them cannot be read.\n"
            "\nKEY is a key number 1..108 (the digit keys are 15..24) or a key's name as show\n"
            "prints it for a fresh profile's top layer: ESC, F1, A, BACKSPACE, LSHIFT, FN,\n"
            "(Enter), Mute.\n"
            "set's ACTION is one of:\n"
            "  --single KEYNAME                  a single key, by the name show prints for it\n"
            "  --combo NAME, --macro NAME, --emulation NAME\n"
            "                                    an entry of the profile's lists, by its name\n"
            "  --multimedia NAME, --mouse NAME, --function NAME, --power NAME\n"
            "                                    a code by its name on the key settings page,\n"
            "                                    in English or Chinese, or as show prints it\n"
            "  --default                         the key's factory assignment on that layer\n"
            "  --clear                           not set\n"
            "A key that becomes FN is FN on both layers, as in the window. An unknown key,\n"
            "name or list entry is refused with exit 2 and the closest valid names.\n"
            "lights takes profiles of the RGB models (variants 1 and 4); --all comes first,\n"
            "then each --key. #RRGGBB is red, green, blue as on the web; quote it in a shell.\n"
            "set and lights replace OUT as a whole and leave it untouched on any error.\n"
            "firmware first saves the keyboard's key settings and lights as a profile in\n"
            "$XDG_DATA_HOME/quillo/backups (~/.local/share/quillo/backups) and names it.\n";
    return text;
}

CliParse usageError(const std::string &why)
{
    CliParse result;
    result.exitCode = 2;
    result.toStderr = true;
    result.text = "quillo-cli: " + TerminalText::escaped(why) + "\n\n" + usageText();
    return result;
}

// --key, --layer and exactly one ACTION; which one was given is found after parsing.
void addSetOptions(CLI::App &sub, CliOptions &options,
                   std::vector<std::pair<std::string, CLI::Option *>> &actions)
{
    sub.add_option("--key", options.key, "the key: its name or number 1..108")->required();
    sub.add_option("--layer", options.layer, "top or fn")
        ->required()
        ->transform(CLI::IsMember({"top", "fn"}, CLI::ignore_case));
    CLI::Option_group *group = sub.add_option_group("ACTION", "what the key becomes");
    for (const char *action :
         {"single", "combo", "macro", "emulation", "multimedia", "mouse", "function", "power"})
        actions.emplace_back(
            action, group->add_option(std::string("--") + action, options.actionName, "by name"));
    actions.emplace_back("default",
                         group->add_flag("--default")->description("the factory assignment"));
    actions.emplace_back("clear", group->add_flag("--clear")->description("not set"));
    group->require_option(1);
}

} // namespace

CliParse parseCommandLine(int argc, const char *const *argv)
{
    CliParse result;
    CliOptions &options = result.options;
    std::vector<std::pair<std::string, CLI::Option *>> actionOptions;

    CLI::App app("Quillo command-line companion: keyboard settings from scripts.", "quillo-cli");
    app.require_subcommand(1, 1);
    app.set_version_flag("--version", "quillo-cli " QUILLO_VERSION);
    app.add_option("--sim", options.simVariant,
                   "use the built-in emulated keyboard of variant 1..4")
        ->check(CLI::Range(1, 4));
    app.add_option("--trace", options.traceFile, "append every HID report to FILE");
    app.add_flag("--lenient", options.lenient, "read a damaged profile as far as it goes");
    // The options above may also follow the command.
    app.fallthrough();

    for (const CommandInfo &entry : commands) {
        CLI::App *sub = app.add_subcommand(entry.name, entry.summary);
        sub->callback([&options, name = entry.name] { options.command = name; });
        if (entry.input)
            sub->add_option(entry.inputName, options.input, "input file")->required();
        const std::string name = entry.name;
        if (name == "diff") {
            sub->add_option("B", options.input2, "the profile compared with A")->required();
            sub->add_flag("--keyboard", options.keyboardOnly,
                          "only differences that reach the keyboard");
        }
        if (name == "counters")
            sub->add_option("--heatmap", options.heatmap, "write the heatmap picture (PNG)");
        if (name == "firmware")
            sub->add_flag("--no-backup", options.noBackup,
                          "do not save the keyboard's key settings and lights first");
        if (entry.json)
            sub->add_flag("--json", options.json, "print one JSON document");
        if (name == "set")
            addSetOptions(*sub, options, actionOptions);
        if (name == "lights") {
            sub->add_option("--key", options.keyColours, "KEY=#RRGGBB: one key's colour")
                ->expected(1)
                ->allow_extra_args(false) // one item each: IN may follow
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
            sub->add_option("--all", options.allColour, "#RRGGBB: every key's colour");
        }
        if (entry.output)
            sub->add_option("-o", options.output, "output file")->required();
        if (entry.variant) {
            auto *option = sub->add_option("--variant", options.variant, "keyboard variant 1..4")
                               ->check(CLI::Range(1, 4));
            if (entry.variantNeeded)
                option->required();
        }
    }

    // Name an unknown command as such rather than as a missing one.
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--sim" || argument == "--trace") {
            ++i;
            continue;
        }
        if (argument.starts_with("-"))
            continue;
        const bool known
            = std::any_of(commands.begin(), commands.end(),
                          [&](const CommandInfo &entry) { return argument == entry.name; });
        if (!known)
            return usageError("unknown command '" + argument + "'");
        break;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &) {
        result.text = usageText();
        return result;
    } catch (const CLI::CallForVersion &version) {
        result.text = std::string(version.what()) + "\n";
        return result;
    } catch (const CLI::ParseError &error) {
        return usageError(error.what());
    }
    for (const auto &[action, option] : actionOptions) {
        if (option->count() > 0)
            options.action = action;
    }
    if (options.command == "lights" && options.keyColours.empty() && options.allColour.empty())
        return usageError("lights needs --key KEY=#RRGGBB or --all #RRGGBB");
    result.run = true;
    return result;
}
