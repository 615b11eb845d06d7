#include "app/ProfileMessages.h"

std::string ProfileMessages::saveFailed(const std::string &path, const std::string &reason,
                                        bool chinese)
{
    return profileWriteFailedMessage(chinese) + ("\n" + path)
           + (reason.empty() ? "" : "\n" + reason)
           + (chinese ? "\n原有文件保持不变。" : "\nAny file already there is unchanged.");
}

std::string ProfileMessages::openFailed(ProfileReadResult result, const std::string &path,
                                        bool chinese)
{
    if (result == ProfileReadResult::Ok)
        return {};
    return path + "\n" + profileReadMessage(result, chinese)
           + (chinese ? "\n当前配置未改变。" : "\nThe current configuration is unchanged.");
}
