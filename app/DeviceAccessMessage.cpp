#include "app/DeviceAccessMessage.h"

#include "model/KeyboardModel.h"

#include <system_error>

namespace fs = std::filesystem;

namespace DeviceAccessMessage {

namespace {

// Where udev takes rules from, the administrator's first.
constexpr const char *RuleFolders[]
    = {"etc/udev/rules.d", "run/udev/rules.d", "usr/lib/udev/rules.d", "lib/udev/rules.d"};

constexpr const char *Apply
    = "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw";

// A path as the shell takes it.
std::string quoted(const std::string &path)
{
    const bool plain = !path.empty()
                       && path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                 "abcdefghijklmnopqrstuvwxyz"
                                                 "0123456789/._+-@%:,")
                              == std::string::npos;
    if (plain)
        return path;
    std::string text = "'";
    for (char c : path)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

bool isFile(const fs::path &path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

RuleState findRule(const ResourceLocator &locator, const fs::path &root)
{
    RuleState rule;
    for (const char *folder : RuleFolders) {
        if (isFile(root / folder / RuleName)) {
            rule.installed = fs::path("/") / folder / RuleName;
            break;
        }
    }
    const fs::path shipped = locator.folderOf(RuleName) / RuleName;
    if (isFile(shipped))
        rule.shipped = shipped;
    return rule;
}

std::string command(const RuleState &rule)
{
    if (!rule.installed.empty())
        return Apply;
    const std::string from = rule.shipped.empty() ? std::string("packaging/") + RuleName
                                                  : quoted(rule.shipped.string());
    return "sudo install -m 644 " + from + " /etc/udev/rules.d/ && " + Apply;
}

std::string text(const quillodev::OpenProblem &problem, int deviceType, const RuleState &rule,
                 bool chinese)
{
    const std::string model = KeyboardModel::name(deviceType);
    if (!problem.accessDenied) {
        return chinese ? "Quillo 在 " + problem.node + " 找到了键盘 " + model + "，但无法打开它："
                             + problem.reason + "。"
                       : "Quillo found the keyboard " + model + " at " + problem.node
                             + " but cannot open it: " + problem.reason + ".";
    }
    std::string message = chinese ? "Quillo 在 " + problem.node + " 找到了键盘 " + model
                                        + "，但无权打开它（" + problem.reason
                                        + "）：当前用户没有访问该设备的权限。\n\n"
                                  : "Quillo found the keyboard " + model + " at " + problem.node
                                        + " but may not open it (" + problem.reason
                                        + "): your user has no access to it.\n\n";
    if (!rule.installed.empty()) {
        message += chinese ? "Quillo 的设备规则 " + rule.installed.string()
                                 + " 已安装，但尚未应用到该键盘。请在终端中执行：\n\n    "
                           : "Quillo's device rule " + rule.installed.string()
                                 + " is installed but has not been applied to the keyboard "
                                   "yet. Apply it in a terminal:\n\n    ";
        message += command(rule);
        message += chinese
                       ? "\n\n或拔下键盘再重新插上。该规则只授权在本机前登录的用户，远程登录无效。"
                       : "\n\nor unplug the keyboard and plug it in again. The rule gives "
                         "access to the user logged in at the computer itself, not over a "
                         "remote login.";
        return message;
    }
    message += chinese ? "要让在本机登录的用户使用 Quillo 键盘，请在终端中安装 Quillo 的设备规则"
                       : "To let the user logged in at this computer use Quillo keyboards, "
                         "install Quillo's device rule in a terminal";
    if (rule.shipped.empty())
        message += chinese ? "（在 Quillo 的源代码文件夹中）" : " (in Quillo's source folder)";
    message += chinese ? "：\n\n    " : ":\n\n    ";
    message += command(rule);
    message += chinese
                   ? "\n\n然后重新启动 Quillo；如果仍然无法打开，请拔下键盘再重新插上。"
                   : "\n\nthen start Quillo again; if it still cannot open the keyboard, unplug "
                     "it and plug it in again.";
    return message;
}

std::string line(const quillodev::OpenProblem &problem, const RuleState &rule)
{
    const std::string start = "cannot open the keyboard at " + problem.node + ": " + problem.reason;
    if (!problem.accessDenied)
        return start;
    if (!rule.installed.empty())
        return start + "; your user has no access, and the device rule " + rule.installed.string()
               + " is not applied yet: run " + command(rule)
               + " (access goes to the user logged in at the computer itself)";
    return start + "; your user has no access: install the device rule with " + command(rule)
           + (rule.shipped.empty() ? " (from Quillo's source folder)" : "");
}

} // namespace DeviceAccessMessage
