#include "cli/CliOptions.h"

#include "cli/CliCommands.h"
#include "cli/JsonReport.h"
#include "cli/TerminalText.h"

#include <CLI/CLI.hpp>

#include <utility>
#include <vector>

namespace {

using CliCommands::Command;

// One line: what is wrong, and where to read how it is done.
CliParse usageError(const Command *command, const std::string &why, bool json)
{
    CliParse result;
    result.exitCode = 2;
    const std::string name = command ? std::string(command->name) : "";
    const std::string message = (name.empty() ? "" : name + ": ") + why + "; try 'quillo-cli "
                                + (name.empty() ? "" : name + " ") + "--help'";
    result.text = "quillo-cli: " + TerminalText::escaped(message);
    if (json)
        result.jsonText = JsonReport::text(JsonReport::failure(name, message, result.exitCode));
    return result;
}

// --key, --layer and exactly one ACTION; which one was given is found after parsing.
void addSetOptions(CLI::App &sub, CliOptions &options,
                   std::vector<std::pair<std::string, CLI::Option *>> &actions)
{
    sub.add_option("--key", options.key)->required();
    sub.add_option("--layer", options.layer)
        ->required()
        ->transform(CLI::IsMember({"top", "fn"}, CLI::ignore_case));
    CLI::Option_group *group = sub.add_option_group("ACTION");
    for (const char *action :
         {"single", "combo", "macro", "emulation", "multimedia", "mouse", "function", "power"})
        actions.emplace_back(action,
                             group->add_option(std::string("--") + action, options.actionName));
    actions.emplace_back("default", group->add_flag("--default"));
    actions.emplace_back("clear", group->add_flag("--clear"));
    group->require_option(1);
}

void addCommand(CLI::App &app, const Command &command, CliOptions &options,
                std::vector<std::pair<std::string, CLI::Option *>> &actions)
{
    CLI::App *sub = app.add_subcommand(command.name);
    sub->set_help_flag();
    sub->callback([&options, name = command.name] { options.command = name; });
    if (command.input)
        sub->add_option(command.input, options.input)->required();
    const std::string name = command.name;
    if (name == "diff") {
        sub->add_option("B", options.input2)->required();
        sub->add_flag("--keyboard", options.keyboardOnly);
    }
    if (name == "counters")
        sub->add_option("--heatmap", options.heatmap);
    if (name == "firmware")
        sub->add_flag("--no-backup", options.noBackup);
    if (name == "set")
        addSetOptions(*sub, options, actions);
    if (name == "lights") {
        sub->add_option("--key", options.keyColours)
            ->expected(1)
            ->allow_extra_args(false) // one item each: IN may follow
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        sub->add_option("--all", options.allColour);
    }
    sub->add_flag("--json", options.json);
    if (command.output)
        sub->add_option("-o", options.output)->required();
    if (command.variant != 0) {
        auto *option = sub->add_option("--variant", options.variant)->check(CLI::Range(1, 4));
        if (command.variant == 2)
            option->required();
    }
}

// What the words before parsing say: the command (the first word that is not an option or
// the value of --sim or --trace), and whether help or JSON is asked for.
struct Scan {
    std::string command;
    bool help = false;
    bool json = false;
};

Scan scan(int argc, const char *const *argv)
{
    Scan found;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--sim" || argument == "--trace") {
            ++i;
        } else if (argument == "-h" || argument == "--help") {
            found.help = true;
        } else if (argument == "--json") {
            found.json = true;
        } else if (found.command.empty() && !argument.starts_with("-")) {
            found.command = argument;
        }
    }
    return found;
}

// Combinations the parser cannot see: one standard input, one standard output.
std::string conflict(const CliOptions &options)
{
    if (options.command == "diff" && options.input == "-" && options.input2 == "-")
        return "only one of A and B can be standard input";
    if (options.command == "firmware" && options.input == "-")
        return "the firmware must be a file: its name tells the model it is for";
    if (options.heatmap == "-")
        return "--heatmap needs a file: standard output carries the counts";
    if (options.output == "-" && options.json)
        return "-o - and --json both want standard output";
    if (options.command == "lights" && options.keyColours.empty() && options.allColour.empty())
        return "lights needs --key KEY=#RRGGBB or --all #RRGGBB";
    return {};
}

} // namespace

CliParse parseCommandLine(int argc, const char *const *argv)
{
    const Scan words = scan(argc, argv);
    const Command *command = words.command.empty() ? nullptr : CliCommands::find(words.command);
    if (!words.command.empty() && !command)
        return usageError(nullptr, "unknown command '" + words.command + "'", words.json);

    CliParse result;
    if (words.help) {
        result.text = command ? CliCommands::help(*command) : CliCommands::overview();
        return result;
    }

    CliOptions &options = result.options;
    std::vector<std::pair<std::string, CLI::Option *>> actionOptions;
    CLI::App app("", "quillo-cli");
    app.set_help_flag();
    app.require_subcommand(1, 1);
    app.set_version_flag("--version", "quillo-cli " QUILLO_VERSION);
    app.add_option("--sim", options.simVariant)->check(CLI::Range(1, 4));
    app.add_option("--trace", options.traceFile);
    app.add_flag("--lenient", options.lenient);
    // The options above may also follow the command.
    app.fallthrough();
    for (const Command &entry : CliCommands::all())
        addCommand(app, entry, options, actionOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion &version) {
        result.text = std::string(version.what()) + "\n";
        return result;
    } catch (const CLI::ParseError &error) {
        if (!command)
            return usageError(nullptr, "a command is needed", words.json);
        return usageError(command, error.what(), words.json);
    }
    for (const auto &[action, option] : actionOptions) {
        if (option->count() > 0)
            options.action = action;
    }
    if (const std::string why = conflict(options); !why.empty())
        return usageError(command, why, words.json);
    result.run = true;
    return result;
}
