#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"

#include <iostream>

#include <unistd.h>

int main(int argc, char **argv)
{
    CliOutput output(STDOUT_FILENO);
    const CliParse parse = parseCommandLine(argc, argv);
    if (!parse.run) {
        if (parse.toStderr) {
            std::cerr << parse.text;
        } else {
            output.write(parse.text);
            if (!output.finish()) {
                std::cerr << "quillo-cli: cannot write the output: " << output.error() << '\n';
                return 1;
            }
        }
        return parse.exitCode;
    }
    return CliSession(parse.options, &output).run();
}
