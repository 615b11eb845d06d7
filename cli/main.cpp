#include "cli/CliOptions.h"
#include "cli/CliSession.h"

#include <iostream>

int main(int argc, char **argv)
{
    const CliParse parse = parseCommandLine(argc, argv);
    if (!parse.run) {
        (parse.toStderr ? std::cerr : std::cout) << parse.text;
        return parse.exitCode;
    }
    return CliSession(parse.options).run();
}
