#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>

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
};

constexpr std::array<CommandInfo, 11> commands = {{
    {"detect", "detect", "print the attached keyboard's variant and model name", false, "", false,
     false, false},
    {"version", "version", "print the keyboard's version text", false, "", false, false, false},
    {"defaults", "defaults --variant N -o FILE",
     "write the profile of a freshly reset configuration", false, "", true, true, true},
    {"convert", "convert IN -o OUT [--variant N]",
     "read a profile and write it again with Quillo's own writer", true, "IN", true, true, false},
    {"show", "show IN [--variant N]", "print what every key does on both layers", true, "IN", false,
     true, false},
    {"diff", "diff A B [--variant N]",
     "print what differs between two profiles (exit 0 equal, 1 different)", true, "A", false, true,
     false},
    {"write", "write IN", "write a profile's keys (and lights on RGB models) to the keyboard", true,
     "IN", false, false, false},
    {"read", "read -o OUT", "read keys and lights from the keyboard into a profile", false, "",
     true, false, false},
    {"sync", "sync IN -o OUT", "write IN, then read the keyboard back into OUT", true, "IN", true,
     false, false},
    {"counters", "counters [--heatmap PNG]",
     "print the most and least used keys and every key's count; draw them as a heatmap", false, "",
     false, false, false},
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
        line.resize(36, ' ');
        text += line + entry.summary + "\n";
    }
    text += "\nOptions:\n"
            "  --sim VARIANT                     use the built-in emulated keyboard of variant "
            "1..4\n"
            "  --trace FILE                      append every HID report to FILE\n"
            "  --lenient                         read a damaged profile as far as it goes\n"
            "  --help                            show this text\n"
            "  --version                         show quillo-cli's version\n"
            "\nA profile's variant is --variant N, or the attached keyboard's without it.\n"
            "A damaged profile is refused unless --lenient is given.\n"
            "Exit status: 0 done, 1 failed (the reason on stderr), 2 bad usage.\n"
            "diff exits with 0 when the profiles are equal, 1 when they differ and 2 when\n"
            "one of them cannot be read.\n"
            "firmware first saves the keyboard's key settings and lights as a profile in\n"
            "$XDG_DATA_HOME/quillo/backups (~/.local/share/quillo/backups) and names it.\n";
    return text;
}

} // namespace

CliParse parseCommandLine(int argc, const char *const *argv)
{
    CliParse result;
    CliOptions &options = result.options;

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
        if (name == "diff")
            sub->add_option("B", options.input2, "the profile compared with A")->required();
        if (name == "counters")
            sub->add_option("--heatmap", options.heatmap, "write the heatmap picture (PNG)");
        if (name == "firmware")
            sub->add_flag("--no-backup", options.noBackup,
                          "do not save the keyboard's key settings and lights first");
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
        if (!known) {
            result.exitCode = 2;
            result.toStderr = true;
            result.text = "quillo-cli: unknown command '" + argument + "'\n\n" + usageText();
            return result;
        }
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
        result.exitCode = 2;
        result.toStderr = true;
        result.text = "quillo-cli: " + std::string(error.what()) + "\n\n" + usageText();
        return result;
    }
    result.run = true;
    return result;
}
