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

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

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

// Where a hover or checked face differs from any of the backgrounds it is shown over, as
// rectangles by rising top edge: runs of differing tiles, joined down while they line up, each
// then cut to the pixels that differ in it. Everywhere else the face is each background.
constexpr int Tile = 8;

std::vector<QRect> differingAreas(const QImage &face, const std::vector<QImage> &backgrounds)
{
    const auto differs = [&](int x, int y) {
        const QRgb pixel = reinterpret_cast<const QRgb *>(face.constScanLine(y))[x];
        for (const QImage &background : backgrounds) {
            if (reinterpret_cast<const QRgb *>(background.constScanLine(y))[x] != pixel)
                return true;
        }
        return false;
    };
    const auto tileDiffers = [&](int column, int row) {
        const QRect tile = QRect(column * Tile, row * Tile, Tile, Tile) & face.rect();
        for (int y = tile.top(); y <= tile.bottom(); ++y)
            for (int x = tile.left(); x <= tile.right(); ++x)
                if (differs(x, y))
                    return true;
        return false;
    };
    const int columns = (face.width() + Tile - 1) / Tile;
    const int rows = (face.height() + Tile - 1) / Tile;
    std::vector<QRect> runs;       // in tiles
    std::vector<std::size_t> open; // runs that ended on the row above
    for (int row = 0; row < rows; ++row) {
        std::vector<std::size_t> now;
        for (int column = 0; column < columns; ++column) {
            if (!tileDiffers(column, row))
                continue;
            int end = column;
            while (end + 1 < columns && tileDiffers(end + 1, row))
                ++end;
            const QRect run(column, row, end - column + 1, 1);
            const auto above = std::find_if(open.begin(), open.end(), [&](std::size_t i) {
                return runs[i].left() == run.left() && runs[i].right() == run.right();
            });
            if (above != open.end()) {
                runs[*above].setBottom(row);
                now.push_back(*above);
            } else {
                now.push_back(runs.size());
                runs.push_back(run);
            }
            column = end;
        }
        open = std::move(now);
    }
    std::vector<QRect> areas;
    for (const QRect &run : runs) {
        const QRect pixels
            = QRect(run.left() * Tile, run.top() * Tile, run.width() * Tile, run.height() * Tile)
              & face.rect();
        QRect tight;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                if (differs(x, y))
                    tight |= QRect(x, y, 1, 1);
        areas.push_back(tight);
    }
    std::stable_sort(areas.begin(), areas.end(),
                     [](const QRect &a, const QRect &b) { return a.top() < b.top(); });
    return areas;
}

bool writeBytes(QFile &file, const void *data, qint64 size)
{
    return file.write(static_cast<const char *>(data), size) == size;
}

// A hover or checked face stored as the patches where it differs from its backgrounds.
bool writePatches(const QString &path, const QImage &face, const std::vector<QImage> &backgrounds)
{
    const QImage pixels = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<QImage> plain;
    for (const QImage &background : backgrounds)
        plain.push_back(background.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    const std::vector<QRect> areas = differingAreas(pixels, plain);
    std::vector<unsigned char> head(SkinFaceFormat::patchPixelsOffset(std::uint32_t(areas.size())));
    SkinFaceFormat::writePatchHeader(head.data(), std::uint32_t(pixels.width()),
                                     std::uint32_t(pixels.height()), std::uint32_t(areas.size()));
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const QRect &r = areas[i];
        SkinFaceFormat::writePatchRect(head.data(), i,
                                       {std::uint32_t(r.x()), std::uint32_t(r.y()),
                                        std::uint32_t(r.width()), std::uint32_t(r.height())});
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = writeBytes(file, head.data(), qint64(head.size()));
    for (const QRect &r : areas) {
        for (int y = r.top(); ok && y <= r.bottom(); ++y)
            ok = writeBytes(file, pixels.constScanLine(y) + std::size_t(r.left()) * 4,
                            qint64(r.width()) * 4);
    }
    return ok && file.flush();
}

// For every hover and checked face, the backgrounds it is shown over.
std::map<int, std::vector<int>> highlightBackgrounds()
{
    std::map<int, std::vector<int>> backgrounds;
    std::set<int> plain;
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        for (const SkinSet &set : SkinIds::programSkinSets(deviceType)) {
            plain.insert(set.background);
            for (int id : {set.hover, set.checked}) {
                std::vector<int> &list = backgrounds[id];
                if (std::find(list.begin(), list.end(), set.background) == list.end())
                    list.push_back(set.background);
            }
        }
    }
    // A face that is some dialog's background stays whole.
    for (int id : plain)
        backgrounds.erase(id);
    return backgrounds;
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
    const std::map<int, std::vector<int>> highlights = highlightBackgrounds();
    for (const auto &[id, image] : faces) {
        const QString name = QStringLiteral("%1.face").arg(id);
        bool written = false;
        if (const auto it = highlights.find(id); it != highlights.end()) {
            std::vector<QImage> backgrounds;
            for (int background : it->second)
                backgrounds.push_back(faces.at(background));
            written = writePatches(out.filePath(name), image, backgrounds);
        } else {
            written = writeFace(out.filePath(name), image);
        }
        if (!written) {
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
