#include "skin/SkinLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QResource>

SkinLibrary::~SkinLibrary()
{
    unregister();
}

void SkinLibrary::unregister()
{
    m_bitmaps.clear();
    if (m_registered)
        QResource::unregisterResource(m_path);
    m_registered = false;
}

QString SkinLibrary::resourcePath(int id)
{
    return QStringLiteral(":/skins/%1.png").arg(id);
}

bool SkinLibrary::load(const QString &folder, int deviceType)
{
    return loadFile(QDir(folder).filePath(QLatin1String(FileName)),
                    SkinIds::programSkinSets(deviceType), {SkinIds::ScrollBar});
}

bool SkinLibrary::loadFile(const QString &path, const std::vector<SkinSet> &sets,
                           const std::vector<int> &singles)
{
    unregister();
    m_path = path;
    m_error = Error::None;
    if (!QFileInfo(path).isFile())
        return fail(Error::FileMissing);
    if (!QResource::registerResource(path))
        return fail(Error::FileUnreadable);
    m_registered = true;

    for (const SkinSet &set : sets) {
        for (int id : {set.background, set.hover, set.checked}) {
            if (!loadBitmap(id))
                return fail(Error::BitmapMissing, id);
        }
        const QSize size = m_bitmaps[set.background].size();
        for (int id : {set.hover, set.checked}) {
            if (m_bitmaps[id].size() != size)
                return fail(Error::BitmapSize, id, m_bitmaps[id].size(), size);
        }
    }
    for (int id : singles) {
        if (!loadBitmap(id))
            return fail(Error::BitmapMissing, id);
        const QImage &image = m_bitmaps[id];
        // Single bitmaps are cell sheets of 9 x 3 square cells.
        const int cell = image.width() / 9;
        if (cell == 0 || image.width() != 9 * cell || image.height() != 3 * cell)
            return fail(Error::BitmapSize, id, image.size(), QSize(9 * cell, 3 * cell));
    }
    return true;
}

bool SkinLibrary::loadBitmap(int id)
{
    if (m_bitmaps.count(id))
        return true;
    QImage image(resourcePath(id));
    if (image.isNull())
        return false;
    m_bitmaps[id] = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

bool SkinLibrary::fail(Error error, int bitmap, QSize found, QSize expected)
{
    unregister();
    m_error = error;
    m_errorBitmap = bitmap;
    m_found = found;
    m_expected = expected;
    return false;
}

QImage SkinLibrary::bitmap(int id) const
{
    const auto it = m_bitmaps.find(id);
    return it == m_bitmaps.end() ? QImage() : it->second;
}

SkinImages SkinLibrary::images(const SkinSet &set) const
{
    return {bitmap(set.background), bitmap(set.hover), bitmap(set.checked)};
}

QString SkinLibrary::errorText(bool chinese) const
{
    const QString file = QDir::toNativeSeparators(m_path);
    switch (m_error) {
    case Error::None:
        return {};
    case Error::FileMissing:
        return chinese ? QStringLiteral("找不到皮肤资源库“%1”。请重新安装 Quillo。").arg(file)
                       : QStringLiteral("The skin library \"%1\" was not found. Please "
                                        "reinstall Quillo.")
                             .arg(file);
    case Error::FileUnreadable:
        return chinese ? QStringLiteral("无法读取皮肤资源库“%1”，文件可能已损坏。请重新安装 "
                                        "Quillo。")
                             .arg(file)
                       : QStringLiteral("The skin library \"%1\" cannot be read; the file may "
                                        "be damaged. Please reinstall Quillo.")
                             .arg(file);
    case Error::BitmapMissing:
        return chinese ? QStringLiteral("皮肤资源库“%1”不完整：缺少位图 %2。请重新安装 Quillo。")
                             .arg(file)
                             .arg(m_errorBitmap)
                       : QStringLiteral("The skin library \"%1\" is incomplete: bitmap %2 is "
                                        "missing. Please reinstall Quillo.")
                             .arg(file)
                             .arg(m_errorBitmap);
    case Error::BitmapSize:
        return chinese ? QStringLiteral("皮肤资源库“%1”有误：位图 %2 的尺寸为 %3 × %4，应为 %5 "
                                        "× %6。请重新安装 Quillo。")
                             .arg(file)
                             .arg(m_errorBitmap)
                             .arg(m_found.width())
                             .arg(m_found.height())
                             .arg(m_expected.width())
                             .arg(m_expected.height())
                       : QStringLiteral("The skin library \"%1\" is inconsistent: bitmap %2 is "
                                        "%3 x %4 pixels instead of %5 x %6. Please reinstall "
                                        "Quillo.")
                             .arg(file)
                             .arg(m_errorBitmap)
                             .arg(m_found.width())
                             .arg(m_found.height())
                             .arg(m_expected.width())
                             .arg(m_expected.height());
    }
    return {};
}
