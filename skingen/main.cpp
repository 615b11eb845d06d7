// quillo-skingen: paints the skin bitmaps of every dialog and writes them, with the resource
// collection file that rcc packs into Quillores.rcc, into one folder.
#include "BacklightFaces.h"
#include "FirmwareUpdateFaces.h"
#include "KeySettingsFaces.h"
#include "MainWindowFaces.h"
#include "ProgressFaces.h"
#include "ScrollBarSkin.h"
#include "VirtualKeyboardFaces.h"
#include "layout/SkinSet.h"
#include "skin/SkinFaceFormat.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Every set the program loads must be complete and of one size.
bool check(const SkinFaces &faces)
{
    bool ok = true;
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        for (const SkinSet &set : SkinIds::programSkinSets(deviceType)) {
            for (int id : {set.background, set.hover, set.checked}) {
                if (!faces.count(id)) {
                    std::fprintf(stderr, "quillo-skingen: bitmap %d is not painted\n", id);
                    ok = false;
                } else if (faces.at(id).size() != faces.at(set.background).size()) {
                    std::fprintf(stderr, "quillo-skingen: bitmap %d differs in size from %d\n", id,
                                 set.background);
                    ok = false;
                }
            }
        }
    }
    if (!faces.count(SkinIds::ScrollBar)) {
        std::fprintf(stderr, "quillo-skingen: the scroll bar skin is not painted\n");
        ok = false;
    }
    return ok;
}

// The stored form: header, then premultiplied rows, ready to use as soon as it is unpacked.
bool writeFace(const QString &path, const QImage &face)
{
    const QImage pixels = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    unsigned char header[SkinFaceFormat::HeaderSize];
    SkinFaceFormat::writeHeader(header, std::uint32_t(pixels.width()),
                                std::uint32_t(pixels.height()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = file.write(reinterpret_cast<const char *>(header), sizeof header) == sizeof header;
    const qint64 row = qint64(pixels.width()) * 4;
    for (int y = 0; ok && y < pixels.height(); ++y)
        ok = file.write(reinterpret_cast<const char *>(pixels.constScanLine(y)), row) == row;
    return ok && file.flush();
}

} // namespace

int main(int argc, char **argv)
{
    // A build step: no display needed.
    int qtArgc = 3;
    char platformArg[] = "-platform";
    char offscreen[] = "offscreen";
    char *qtArgv[] = {argv[0], platformArg, offscreen, nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: quillo-skingen <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "quillo-skingen: cannot create %s\n", argv[1]);
        return 1;
    }

    // One painter per dialog.
    SkinFaces faces;
    paintMainWindowFaces(faces);
    paintKeySettingsFaces(faces);
    paintVirtualKeyboardFaces(faces);
    paintScrollBarSkin(faces);
    paintProgressFaces(faces);
    paintFirmwareUpdateFaces(faces);
    paintBacklightFaces(faces);
    if (!check(faces))
        return 1;

    QFile collection(out.filePath(QStringLiteral("Quillores.qrc")));
    if (!collection.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "quillo-skingen: cannot write %s\n",
                     qPrintable(collection.fileName()));
        return 1;
    }
    QTextStream qrc(&collection);
    qrc << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/skins\">\n";
    for (const auto &[id, image] : faces) {
        const QString name = QStringLiteral("%1.face").arg(id);
        if (!writeFace(out.filePath(name), image)) {
            std::fprintf(stderr, "quillo-skingen: cannot write %s\n", qPrintable(name));
            return 1;
        }
        // How they are packed is rcc's command line.
        qrc << "    <file>" << name << "</file>\n";
    }
    qrc << "</qresource>\n</RCC>\n";
    qrc.flush();
    return collection.error() == QFile::NoError ? 0 : 1;
}
