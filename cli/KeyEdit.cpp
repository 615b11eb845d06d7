#include "cli/KeyEdit.h"

#include "cli/CliKeyNames.h"
#include "cli/NameSuggestions.h"
#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsCodes.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

using NameSuggestions::sameName;

struct CodePage {
    const char *kind;
    int page;
    const char *what; // in messages
};

constexpr std::array<CodePage, 4> codePages{{
    {"multimedia", KeySettingsModel::MultimediaPage, "multimedia name"},
    {"mouse", KeySettingsModel::MousePage, "mouse name"},
    {"function", KeySettingsModel::FunctionPage, "function name"},
    {"power", KeySettingsModel::PowerPage, "power name"},
}};

struct ListPage {
    const char *kind;
    int page;
    const char *what;
    const char *empty; // what an entry without steps lacks
};

constexpr std::array<ListPage, 3> listPages{{
    {"combo", KeySettingsModel::SingleComboPage, "combination", "keys"},
    {"macro", KeySettingsModel::MacroPage, "macro", "steps"},
    {"emulation", KeySettingsModel::EmulatePage, "emulation", "keys"},
}};

// The names a code button answers to in one language: its tooltip and caption and, in
// English, the name show prints for its code.
std::vector<std::string> namesOf(const KeySettingsCodes::CodeButton &button, bool chinese,
                                 const KeyCatalogue &catalogue)
{
    std::vector<std::string> names{chinese ? button.zh : button.en};
    if (const char *label = chinese ? button.labelZh : button.labelEn)
        names.emplace_back(label);
    if (!chinese)
        names.push_back(catalogue.nameOfCode(button.code));
    return names;
}

bool answersTo(const KeySettingsCodes::CodeButton &button, const std::string &name,
               const KeyCatalogue &catalogue)
{
    const std::vector<std::string> names
        = namesOf(button, NameSuggestions::isChinese(name), catalogue);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string &known) { return sameName(known, name); });
}

// The code of a page's button by one of its names, as the page offers it on this model.
CliKeyNames::Lookup findCode(const CodePage &page, const std::string &name, int deviceType,
                             const KeyCatalogue &catalogue)
{
    const bool chinese = NameSuggestions::isChinese(name);
    std::vector<int> codes;
    std::vector<std::string> meant; // the English tooltips of what matched
    std::vector<std::string> candidates;
    bool elsewhere = false;
    for (const KeySettingsCodes::CodeButton &button : KeySettingsCodes::buttonsOfPage(page.page)) {
        const bool offered = KeySettingsCodes::offers(button, deviceType);
        const bool matches = answersTo(button, name, catalogue);
        if (offered) {
            for (std::string &candidate : namesOf(button, chinese, catalogue))
                candidates.push_back(std::move(candidate));
        }
        if (matches && !offered)
            elsewhere = true;
        if (matches && offered
            && std::find(codes.begin(), codes.end(), button.code) == codes.end()) {
            codes.push_back(button.code);
            meant.emplace_back(button.en);
        }
    }
    if (codes.size() == 1)
        return {codes.front(), {}};
    if (codes.size() > 1) {
        std::string text = "'" + name + "' names more than one " + page.what + ":";
        for (std::size_t i = 0; i < meant.size(); ++i)
            text += (i ? ", " : " ") + meant[i];
        return {0, text + "; give the English name"};
    }
    if (elsewhere)
        return {0, "'" + name + "' is not offered on " + KeyboardModel::name(deviceType)
                       + " keyboards"};
    return {0, NameSuggestions::unknownText(page.what, name, candidates)};
}

// Selects the list entry by its name, first the exact name, then one alike but for the case.
std::optional<std::string> selectEntry(WorkingList &list, const ListPage &page,
                                       const std::string &name, std::vector<std::string> &notes)
{
    const std::vector<std::string> &names = list.list().names;
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        found = std::find_if(names.begin(), names.end(),
                             [&](const std::string &known) { return sameName(known, name); });
    if (names.empty())
        return "unknown " + std::string(page.what) + " '" + name + "': the profile has no "
               + page.what + "s";
    if (found == names.end())
        return NameSuggestions::unknownText(page.what, name, names);
    const long same = std::count(names.begin(), names.end(), *found);
    if (same > 1)
        notes.push_back(std::to_string(same) + " " + page.what + "s are named '" + *found
                        + "'; the first one is taken");
    list.scrollTo(int(found - names.begin()));
    if (list.current().size() == 0)
        return std::string(page.what) + " '" + *found + "' has no " + page.empty
               + ": the key would be left not set";
    return std::nullopt;
}

} // namespace

namespace KeyEdit {

Result apply(AppState &state, const Request &request)
{
    Result result;
    const CliKeyNames::Lookup key = CliKeyNames::findKey(state.catalogue, request.key);
    if (!key)
        return {key.error, {}};
    if (request.layer != "top" && request.layer != "fn")
        return {"the layer is top or fn, not '" + request.layer + "'", {}};

    state.currentKey = key.value;
    state.currentLayer = request.layer == "fn" ? 1 : 0;
    KeySettingsModel model({state.catalogue, state.deviceType, state.currentKey, state.currentLayer,
                            state.assignment(state.currentKey, state.currentLayer),
                            state.predefinedCombos, state.predefinedMacros,
                            state.predefinedEmulations});

    const std::string &kind = request.kind;
    const auto codePage = std::find_if(codePages.begin(), codePages.end(),
                                       [&](const CodePage &page) { return kind == page.kind; });
    const auto listPage = std::find_if(listPages.begin(), listPages.end(),
                                       [&](const ListPage &page) { return kind == page.kind; });
    if (kind == "single") {
        const CliKeyNames::Lookup code
            = CliKeyNames::findSingleCode(state.catalogue, request.value);
        if (!code)
            return {code.error, {}};
        // As the virtual keyboard picks it.
        model.showPage(KeySettingsModel::SingleComboPage);
        model.setSingleMode(true);
        model.setSingleKey(state.catalogue.keyOfCode(code.value));
    } else if (listPage != listPages.end()) {
        model.showPage(listPage->page);
        if (listPage->page == KeySettingsModel::SingleComboPage)
            model.setSingleMode(false);
        if (auto refused = selectEntry(*model.listOfPage(listPage->page), *listPage, request.value,
                                       result.notes))
            return {*refused, {}};
    } else if (codePage != codePages.end()) {
        const CliKeyNames::Lookup code
            = findCode(*codePage, request.value, state.deviceType, state.catalogue);
        if (!code)
            return {code.error, {}};
        model.showPage(codePage->page);
        // A click on the button already chosen would unchoose it.
        if (model.chosenCode(codePage->page) != code.value)
            model.toggleCode(codePage->page, code.value);
    } else if (kind == "default") {
        model.restoreDefault();
    } else if (kind == "clear") {
        model.clear();
    } else {
        return {"nothing to set: give one of --single, --combo, --macro, --emulation, "
                "--multimedia, --mouse, --function, --power, --default, --clear",
                {}};
    }

    const KeyMapChange change = model.confirm();
    change.applyTo(state);
    if (change.fnOnBothLayers)
        result.notes.push_back("key " + std::to_string(key.value) + " ("
                               + CliKeyNames::keyName(state.catalogue, key.value)
                               + ") is FN on both layers, as a key that is FN must be");
    return result;
}

} // namespace KeyEdit
