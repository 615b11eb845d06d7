#include "app/ProfileOpening.h"

#include "app/ProfileMessages.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"

std::string ProfileOpening::open(AppState &state, const std::filesystem::path &path,
                                 const std::string &shownPath, const Ask &ask)
{
    const bool chinese = state.chinese();
    // A profile replaces everything; undo brings back what was there.
    ConfigHistory::Before before
        = ConfigHistory::capture(state, ConfigHistory::Scope::everything());
    MarkupError damage;
    ProfileReadResult result = readProfile(state, state.pressCounters, state.deviceType, path,
                                           DamagedProfile::Refuse, &damage);
    if (result == ProfileReadResult::Damaged) {
        if (!ask || !ask(shownPath + "\n" + profileDamagedQuestion(damage, chinese)))
            return {};
        result = readProfile(state, state.pressCounters, state.deviceType, path,
                             DamagedProfile::ReadWhatCan);
    }
    if (result == ProfileReadResult::Ok)
        state.history.record(ConfigHistory::Change::Open, std::move(before));
    return ProfileMessages::openFailed(result, shownPath, chinese);
}
