#include "app/HelpDocument.h"

#include <QDir>
#include <QProcess>
#include <QStringList>

#include <system_error>

namespace fs = std::filesystem;

fs::path HelpDocument::choose(const ResourceLocator &locator, bool desktopShowsCompiled,
                              bool chinese)
{
    const auto found = [&locator](const char *name) {
        const fs::path path = locator.folderOf(name) / name;
        std::error_code error;
        return fs::is_regular_file(path, error) ? path : fs::path();
    };
    // The compiled guide is English only.
    if (chinese) {
        if (const fs::path pages = found(ChinesePagesName); !pages.empty())
            return pages;
    }
    const fs::path compiled = found(CompiledName);
    if (!compiled.empty() && desktopShowsCompiled)
        return compiled;
    if (const fs::path pages = found(PagesName); !pages.empty())
        return pages;
    // Without the pages the desktop may still find something that shows it.
    return compiled;
}

bool HelpDocument::desktopShowsCompiled()
{
#ifdef Q_OS_WIN
    return true;
#else
    // xdg-open would hand a file without a viewer to whatever takes any file, often an archive
    // tool; ask first. A desktop without xdg-utils gets the pages.
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/vnd.ms-htmlhelp")});
    if (!query.waitForFinished(2000)) {
        query.kill();
        query.waitForFinished(500);
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
           && !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

QString HelpDocument::cannotOpen(const QString &path, bool chinese)
{
    const QString where = QDir::toNativeSeparators(path);
    if (chinese)
        return QString::fromUtf8("无法打开使用指南：这台电脑上没有能显示它的程序。\n\n"
                                 "请用网页浏览器打开这个文件：\n%1")
            .arg(where);
    return QStringLiteral("The user guide cannot be opened: no program on this computer shows "
                          "it.\n\nOpen this file in a web browser:\n%1")
        .arg(where);
}
