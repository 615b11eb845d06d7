#include "app/ProfileOpening.h"

#include "app/AppState.h"
#include "app/ProfileMessages.h"
#include "profile/ProfileFile.h"

std::string ProfileOpening::open(AppState &state, const std::filesystem::path &path,
                                 const std::string &shownPath, const Ask &ask)
{
    const bool chinese = state.chinese();
    MarkupError damage;
    ProfileReadResult result = readProfile(state, path, DamagedProfile::Refuse, &damage);
    if (result == ProfileReadResult::Damaged) {
        if (!ask || !ask(shownPath + "\n" + profileDamagedQuestion(damage, chinese)))
            return {};
        result = readProfile(state, path, DamagedProfile::ReadWhatCan);
    }
    return ProfileMessages::openFailed(result, shownPath, chinese);
}
