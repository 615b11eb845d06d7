#include "app/ProfileDrop.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace {

QStringList localFiles(const QMimeData &data)
{
    QStringList files;
    if (!data.hasUrls())
        return files;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            files.push_back(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return files;
}

} // namespace

bool ProfileDrop::carriesFiles(const QMimeData &data)
{
    return !localFiles(data).isEmpty();
}

ProfileDrop::Outcome ProfileDrop::read(const QMimeData &data, bool chinese)
{
    const QStringList files = localFiles(data);
    if (files.size() > 1) {
        const QString names = files.join(QStringLiteral("\n"));
        return {{},
                chinese ? QStringLiteral("一次只能打开一个配置文件：\n") + names
                        : QStringLiteral("Only one profile can be opened at a time:\n") + names};
    }
    if (files.isEmpty())
        return {};
    const QString &file = files.constFirst();
    // The suffix decides, as the file dialog's filter does; what the file holds is checked by
    // the reader as for Open.
    if (QFileInfo(file).suffix().compare(QStringLiteral("pro"), Qt::CaseInsensitive) != 0) {
        return {{},
                chinese ? QStringLiteral("“%1”不是配置文件（.pro），无法打开。").arg(file)
                        : QStringLiteral("\"%1\" is not a profile (.pro file) and cannot be "
                                         "opened.")
                              .arg(file)};
    }
    return {file, {}};
}
