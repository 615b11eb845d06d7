#include "cli/ChangeNotes.h"

#include "cli/CliKeyNames.h"
#include "jobs/KeyConfigCodec.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"

namespace {

std::string keyText(const AppState &state, int key)
{
    return "key " + std::to_string(key) + " (" + CliKeyNames::keyName(state.catalogue, key) + ")";
}

std::string layerText(int layer)
{
    return layer == 1 ? " on the Fn layer" : " on the top layer";
}

// What a limit passed means for the keyboard.
std::string limitText(const KeyConfigCodec::Adjustment &adjustment, int category, bool autoDelay)
{
    std::string limit;
    if (category == KeyAssignment::Combo)
        limit = std::to_string(KeyConfigCodec::MaxComboKeys) + " keys a combination holds";
    else if (category == KeyAssignment::Emulation)
        limit = std::to_string(KeyConfigCodec::MaxEmulationKeys) + " keys an emulation holds";
    else
        limit = std::to_string(autoDelay ? KeyConfigCodec::MaxAutoDelayMacroSteps
                                         : KeyConfigCodec::MaxRecordedMacroSteps)
                + " steps a macro holds" + (autoDelay ? " with auto delay" : "");
    return adjustment.from + ' ' + adjustment.field + ", more than the " + limit + "; all are sent";
}

} // namespace

namespace ChangeNotes {

std::string readChange(const AppState &state, const ProfileValueChange &change)
{
    const std::string value = change.field + ' ' + change.from;
    if (change.key < 1 || change.key > AppState::KeyCount)
        return "<" + change.element + " " + change.field + "=\"" + change.from
               + "\"> is outside the profile's range; it was left out";
    const std::string where = change.layer < 0
                                  ? "the light of " + keyText(state, change.key)
                                  : keyText(state, change.key) + layerText(change.layer);
    return where + ": " + value + " was read as " + change.to;
}

std::vector<std::string> writeAdjustments(const AppState &state)
{
    std::vector<std::string> lines;
    std::vector<int> array;
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            const KeyAssignment assignment = state.assignment(key, layer);
            KeyConfigCodec::Check check;
            KeyConfigCodec::encode(state.catalogue, assignment, array, &check);
            const std::string where = keyText(state, key) + layerText(layer) + ", "
                                      + KeyCatalogue::categoryName(assignment.category, false)
                                      + ": ";
            for (const KeyConfigCodec::Adjustment &adjustment : check.adjustments) {
                lines.push_back(where
                                + (adjustment.to.empty() ? limitText(
                                       adjustment, assignment.category, assignment.action.autoDelay)
                                                         : adjustment.field + ' ' + adjustment.from
                                                               + " is sent as " + adjustment.to));
            }
        }
    }
    return lines;
}

} // namespace ChangeNotes
