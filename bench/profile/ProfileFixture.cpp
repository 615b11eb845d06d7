#include "ProfileFixture.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

ActionList macroOfSteps(int steps)
{
    ActionList macro(9);
    const char *texts[] = {"LSHIFT Down", "<30 ms>", "A Down", "A UP", "LSHIFT UP"};
    for (int i = 0; i < steps; ++i) {
        macro.names.emplace_back(texts[i % 5]);
        macro.items.emplace_back(9);
    }
    macro.times = 2;
    return macro;
}

// Every key on both layers a macro of 799 steps; each predefined list 50 entries of as many.
// Each list is built on its own, as a profile read from a file holds them: none shares its
// storage with another.
void makeMaximal(AppState &state)
{
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(AppState::index(key, layer));
            state.category[i] = 3;
            state.code[i] = 0;
            state.action[i] = macroOfSteps(799);
        }
        state.lightSettings[std::size_t(key)] = {key, 255 - key, key * 2};
    }
    for (ActionList *list :
         {&state.predefinedCombos, &state.predefinedMacros, &state.predefinedEmulations}) {
        for (int n = 0; n < 50; ++n) {
            list->names.push_back("entry " + std::to_string(n) + " & <more>");
            list->items.push_back(macroOfSteps(799));
        }
    }
}

} // namespace

fs::path benchScratch(const char *name)
{
    return fs::temp_directory_path() / name;
}

std::unique_ptr<AppState> benchConfiguration(bool maximal)
{
    auto state = std::make_unique<AppState>();
    state->deviceType = 1;
    state->resetKeyModel();
    if (maximal)
        makeMaximal(*state);
    return state;
}

void prepareProfileFiles(bool maximal, fs::path &ours, fs::path &theirs)
{
    ours = benchScratch(maximal ? "quillo-bench-max.pro" : "quillo-bench-reset.pro");
    theirs = benchScratch(maximal ? "quillo-bench-max-pugi.pro" : "quillo-bench-reset-pugi.pro");
    const auto state = benchConfiguration(maximal);
    writeProfile(*state, state->deviceType, ours);
    std::ifstream in(ours, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    for (const std::string from : {"<Quillo(RGB)BLe>", "</Quillo(RGB)BLe>"}) {
        const auto at = text.find(from);
        text.replace(at, from.size(), from[1] == '/' ? "</Profile>" : "<Profile>");
    }
    std::ofstream(theirs, std::ios::binary) << text;
}
