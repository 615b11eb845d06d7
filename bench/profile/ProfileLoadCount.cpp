// Loads one profile a number of times, with our reader or with pugixml's, for counting the
// instructions a load takes (valgrind --tool=callgrind): unlike wall time on a shared machine
// the count repeats exactly. Run with N and with 0 loads; the difference over N is one load.
#include "ProfileFixture.h"
#include "PugiProfile.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 4 || (std::strcmp(argv[1], "reset") != 0 && std::strcmp(argv[1], "maximal") != 0)
        || (std::strcmp(argv[2], "ours") != 0 && std::strcmp(argv[2], "pugixml") != 0)) {
        std::fprintf(stderr, "usage: %s reset|maximal ours|pugixml LOADS\n", argv[0]);
        return 2;
    }
    const bool maximal = std::strcmp(argv[1], "maximal") == 0;
    const bool ours = std::strcmp(argv[2], "ours") == 0;
    const int loads = std::atoi(argv[3]);
    std::filesystem::path ourFile, theirFile;
    prepareProfileFiles(maximal, ourFile, theirFile);
    auto state = benchConfiguration(false);
    int failed = 0;
    for (int i = 0; i < loads; ++i) {
        if (ours)
            failed += readProfile(*state, state->pressCounters, state->deviceType, ourFile)
                      != ProfileReadResult::Ok;
        else
            failed += !pugiReadProfile(*state, theirFile);
    }
    return failed == 0 ? 0 : 1;
}
