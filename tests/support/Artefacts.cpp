#include "tests/support/Artefacts.h"

#include "layout/WindowsColour.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>

QString artefactFolder()
{
    const QString folder
        = QDir(QCoreApplication::applicationDirPath()).filePath("../test-artefacts");
    QDir().mkpath(folder);
    return folder;
}

QString artefactPath(const QString &fileName)
{
    return QDir(artefactFolder()).filePath(fileName);
}

bool saveArtefact(QWidget &window, std::uint32_t colourKey, const QString &name)
{
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colourFromWindows(colourKey).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return image.save(artefactPath(name + ".png"));
}
