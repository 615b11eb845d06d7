#include "app/ProfileMessages.h"

std::string ProfileMessages::saveFailed(const std::string &path, bool chinese)
{
    return chinese ? "配置文件保存失败：\n" + path + "\n原有文件保持不变。"
                   : "The configuration file could not be saved:\n" + path
                         + "\nAny file already there is unchanged.";
}

std::string ProfileMessages::openFailed(ProfileReadResult result, const std::string &path,
                                        bool chinese)
{
    const char *problem = nullptr;
    switch (result) {
    case ProfileReadResult::Ok:
        return {};
    case ProfileReadResult::CannotOpen:
        problem = chinese ? "无法打开该文件。" : "The file could not be opened.";
        break;
    case ProfileReadResult::NotAProfile:
        problem = chinese ? "该文件不是按键配置文件。" : "The file is not a configuration file.";
        break;
    case ProfileReadResult::Damaged:
        problem = chinese ? "该配置文件已损坏。" : "The configuration file is damaged.";
        break;
    case ProfileReadResult::OtherVariant:
        problem = chinese ? "该配置文件属于另一型号的键盘。"
                          : "The configuration file belongs to another keyboard model.";
        break;
    }
    if (!problem)
        problem = chinese ? "无法读取该配置文件。" : "The configuration file could not be read.";
    return path + "\n" + problem
           + (chinese ? "\n当前配置未改变。" : "\nThe current configuration is unchanged.");
}
