#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"

#include <iostream>

#include <unistd.h>

int main(int argc, char **argv)
{
    CliOutput output(STDOUT_FILENO);
    const CliParse parse = parseCommandLine(argc, argv);
    if (parse.run)
        return CliSession(parse.options, &output).run();
    if (parse.exitCode != 0) {
        std::cerr << parse.text << '\n';
        output.write(parse.jsonText);
    } else {
        output.write(parse.text);
    }
    if (!output.finish()) {
        std::cerr << "quillo-cli: cannot write the output: " << output.error() << '\n';
        return parse.exitCode == 0 ? 1 : parse.exitCode;
    }
    return parse.exitCode;
}
