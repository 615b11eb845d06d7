// Writes the manual pages of quillo-cli, quillo-sim and quillo-gadget from the tables their
// --help prints.
//
//   quillo-mangen FOLDER DATE VERSION

#include "ManPage.h"

#include "app/SimUsage.h"
#include "cli/CliCommands.h"
#include "sim/GadgetUsage.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool write(const std::string &path, const std::string &text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "quillo-mangen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("Usage: quillo-mangen FOLDER DATE VERSION\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string date = argv[2];
    const std::string source = std::string("quillo ") + argv[3];
    const bool written
        = write(folder + "/quillo-cli.1",
                ManPage::roff(CliCommands::manual(), date, source, "quillo(1), quillo-sim(1)"))
          && write(folder + "/quillo-sim.1",
                   ManPage::roff(SimUsage::doc(), date, source, "quillo(1), quillo-cli(1)"))
          && write(folder + "/quillo-gadget.1",
                   ManPage::roff(GadgetUsage::doc(), date, source, "quillo-cli(1), quillo-sim(1)"));
    return written ? 0 : 1;
}
