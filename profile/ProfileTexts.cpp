#include "profile/ProfileFile.h"

#include "profile/MarkupDocument.h"
#include "profile/TextCodec.h"

namespace {

static_assert(MarkupDocument::MaxFileBytes == 256u << 20, "the message names the limit");

// What is wrong, in a few words; `name` is the element concerned.
std::string problemText(MarkupProblem problem, const std::string &name, bool chinese)
{
    switch (problem) {
    case MarkupProblem::None:
        break;
    case MarkupProblem::NoRootElement:
        return chinese ? "没有任何元素" : "there is no element at all";
    case MarkupProblem::SecondRoot:
        return chinese ? "配置之外还有一个顶层元素 <" + name + ">"
                       : "a second top-level element <" + name + "> follows the profile";
    case MarkupProblem::LoneEndTag:
        return chinese ? "结束标记 </" + name + "> 没有对应的开始标记"
                       : "an end tag </" + name + "> without a start tag";
    case MarkupProblem::UnendedElement:
        return chinese ? "<" + name + "> 缺少结束标记" : "<" + name + "> has no end tag";
    case MarkupProblem::EndsInsideElement:
        return chinese ? "文件在 </" + name + "> 之前就结束了，可能不完整"
                       : "the file ends before </" + name + ">, it looks cut off";
    case MarkupProblem::UnfinishedTag:
        if (name.empty())
            return chinese ? "标记不完整" : "a tag is not finished";
        return chinese ? "标记 <" + name + " 不完整" : "the tag <" + name + " is not finished";
    case MarkupProblem::StrayLessThan:
        return chinese ? "多余的“<”" : "a '<' that starts no tag";
    case MarkupProblem::UnfinishedDoctype:
        return chinese ? "文档类型声明不完整" : "the document type declaration is not finished";
    case MarkupProblem::UnknownDeclaration:
        return chinese ? "无法识别的“<!”标记" : "a '<!' that is no comment";
    case MarkupProblem::UnclosedComment:
        return chinese ? "注释没有结束（缺少“-->”）" : "a comment is never closed (no \"-->\")";
    case MarkupProblem::UnclosedCdata:
        return chinese ? "CDATA 段没有结束" : "a CDATA section is never closed";
    case MarkupProblem::TooManyElements:
        return chinese ? "元素多于配置文件所能容纳的数量" : "more elements than any profile has";
    }
    return {};
}

// "a FIFO (named pipe)"; the target of a refused save is never a regular file or missing.
const char *kindName(FileStore::FileKind kind, bool chinese)
{
    using FileStore::FileKind;
    switch (kind) {
    case FileKind::Folder:
        return chinese ? "文件夹" : "a folder";
    case FileKind::CharacterDevice:
        return chinese ? "字符设备" : "a character device";
    case FileKind::BlockDevice:
        return chinese ? "块设备" : "a block device";
    case FileKind::Fifo:
        return chinese ? "命名管道（FIFO）" : "a FIFO (named pipe)";
    case FileKind::Socket:
        return chinese ? "套接字" : "a socket";
    case FileKind::Missing:
    case FileKind::Regular:
    case FileKind::Other:
        break;
    }
    return chinese ? "特殊文件" : "a special file";
}

} // namespace

const char *profileReadMessage(ProfileReadResult result, bool chinese)
{
    switch (result) {
    case ProfileReadResult::Ok:
        return "";
    case ProfileReadResult::CannotOpen:
        return chinese ? "无法打开该文件。" : "The file could not be opened.";
    case ProfileReadResult::NotAFile:
        return chinese ? "这是一个文件夹，不是文件。" : "It is a folder, not a file.";
    case ProfileReadResult::TooLarge:
        return chinese ? "该文件大于 256 MiB，配置文件不会这么大。"
                       : "The file is larger than 256 MiB; no profile is that large.";
    case ProfileReadResult::NotAProfile:
        return chinese ? "该文件不是按键配置文件。" : "The file is not a configuration file.";
    case ProfileReadResult::Damaged:
        return chinese ? "该配置文件已损坏。" : "The configuration file is damaged.";
    case ProfileReadResult::OtherVariant:
        return chinese ? "该配置文件属于另一型号的键盘。"
                       : "The configuration file belongs to another keyboard model.";
    }
    return chinese ? "无法读取该配置文件。" : "The configuration file could not be read.";
}

std::string profileReadFailureText(ProfileReadResult result, const std::string &fileError,
                                   bool chinese)
{
    const std::string message = profileReadMessage(result, chinese);
    if (chinese || result != ProfileReadResult::CannotOpen || fileError.empty())
        return message;
    return message.substr(0, message.size() - 1) + ": " + fileError + ".";
}

const char *profileWriteFailedMessage(bool chinese)
{
    return chinese ? "配置文件保存失败。" : "The configuration file could not be saved.";
}

std::string profileWriteFailureReason(const FileStore::WriteFailure &failure,
                                      const std::filesystem::path &path, bool chinese)
{
    if (failure.refused) {
        const std::string kind = kindName(*failure.refused, chinese);
        if (failure.target == path)
            return chinese ? "它是" + kind + "，不是普通文件。"
                           : "It is " + kind + ", not a regular file.";
        const std::string target = failure.target.string();
        return chinese ? "它指向 " + target + "，那是" + kind + "，不是普通文件。"
                       : "It leads to " + target + ", " + kind + ", not a regular file.";
    }
    if (failure.readOnly)
        return chinese ? "它是只读文件。" : "It is read-only.";
    if (chinese || failure.reason.empty())
        return {};
    std::string reason = failure.reason;
    if (reason[0] >= 'a' && reason[0] <= 'z')
        reason[0] = char(reason[0] - 'a' + 'A');
    return reason + ".";
}

std::string profileDamageText(const MarkupError &error, bool chinese)
{
    const std::string what = problemText(error.problem, TextCodec::toUtf8(error.tagName), chinese);
    if (what.empty())
        return {};
    const std::string line = std::to_string(error.line);
    return chinese ? "第 " + line + " 行：" + what : "line " + line + ": " + what;
}

std::string profileDamagedMessage(const MarkupError &error, bool chinese)
{
    const std::string where = profileDamageText(error, chinese);
    if (chinese)
        return where.empty() ? "该配置文件已损坏。" : "该配置文件已损坏（" + where + "）。";
    return where.empty() ? "This profile is damaged." : "This profile is damaged (" + where + ").";
}

std::string profileDamagedQuestion(const MarkupError &error, bool chinese)
{
    return profileDamagedMessage(error, chinese)
           + (chinese ? "是否打开其中可以读取的部分？文件中没有描述的按键将使用默认设置。"
                      : " Open what can be read? Keys the file does not describe get their "
                        "defaults.");
}

std::string profileReadDamagedNote(const MarkupError &error, bool chinese)
{
    return profileDamagedMessage(error, chinese)
           + (chinese ? "已读取其中可以读取的部分；文件中没有描述的按键使用默认设置。"
                      : " What could be read was read; keys the file does not describe have "
                        "their defaults.");
}
