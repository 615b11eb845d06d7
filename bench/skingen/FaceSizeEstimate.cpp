// How large the skin library grows once every dialog has its faces: paints stand-ins for the
// faces still to come (dialog bodies with fields, lists and captioned buttons, in the three
// looks, at sizes from 370 x 250 to 1250 x 470 base pixels), packs each as the build does and
// adds them to the built library's size.
#include "skin/FacePainter.h"
#include "skin/FacePalette.h"
#include "skin/SkinFaceFormat.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <zstd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Level = 19; // rcc's --compress

QImage standIn(int width, int height, FaceLook look, QRandomGenerator &random)
{
    const QColor key(0, 0, 255);
    QImage face = FacePainter::blankFace(width, height, key);
    QPainter painter(&face);
    FacePainter::body(painter, QRect(0, 0, width, height), 14);
    FacePainter::fittedText(painter, QRectF(20, 10, width - 40, 30), QStringLiteral("Key settings"),
                            16, QFont::Bold, FacePalette::Text, Qt::AlignLeft | Qt::AlignVCenter);
    // A list or two and some fields.
    for (int i = 0; i < 2; ++i) {
        const int w = width / 3;
        FacePainter::well(painter, QRectF(20 + i * (w + 20), 50, w, height - 120), 6,
                          FacePalette::Well);
    }
    // Rows of captioned buttons along the free side and the bottom.
    const int columns = qMax(1, (width / 3 - 20) / 90);
    int n = 0;
    for (int y = 50; y + 30 < height - 60; y += 36) {
        for (int c = 0; c < columns; ++c, ++n) {
            const QRectF r(width - 20 - (c + 1) * 90, y, 84, 28);
            const FaceLook shown = n % 7 == 0 ? look : FaceLook::Normal;
            FacePainter::pushButton(painter, r,
                                    look == FaceLook::Normal ? FaceLook::Normal : shown);
            FacePainter::fittedText(painter, r, QStringLiteral("Item %1").arg(random.bounded(999)),
                                    12, QFont::Normal, FacePalette::Text);
        }
    }
    for (int c = 0; c < 4; ++c)
        FacePainter::pushButton(painter, QRectF(width - 20 - (c + 1) * 110, height - 50, 100, 32),
                                look);
    painter.end();
    return FacePainter::keyedOut(face, key);
}

std::size_t packedSize(const QImage &face)
{
    const QImage pixels = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<unsigned char> stored(SkinFaceFormat::HeaderSize
                                      + std::size_t(pixels.width()) * 4 * pixels.height());
    SkinFaceFormat::writeHeader(stored.data(), std::uint32_t(pixels.width()),
                                std::uint32_t(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(stored.data() + SkinFaceFormat::HeaderSize
                        + std::size_t(y) * pixels.width() * 4,
                    pixels.constScanLine(y), std::size_t(pixels.width()) * 4);
    std::vector<unsigned char> packed(ZSTD_compressBound(stored.size()));
    return ZSTD_compress(packed.data(), packed.size(), stored.data(), stored.size(), Level);
}

} // namespace

int main(int argc, char **argv)
{
    int qtArgc = 3;
    char platformArg[] = "-platform";
    char offscreen[] = "offscreen";
    char *qtArgv[] = {argv[0], platformArg, offscreen, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: face-size-estimate <built Quillores.rcc>\n");
        return 2;
    }
    const qint64 built = QFileInfo(QString::fromLocal8Bit(argv[1])).size();

    // 20 dialogs' sets of three, sizes spread evenly over the range.
    QRandomGenerator random(16);
    constexpr int Sets = 20;
    std::size_t raw = 0;
    std::size_t packed = 0;
    for (int i = 0; i < Sets; ++i) {
        const int width = 370 + (1250 - 370) * i / (Sets - 1);
        const int height = 250 + (470 - 250) * i / (Sets - 1);
        for (FaceLook look : {FaceLook::Normal, FaceLook::Hover, FaceLook::Checked}) {
            raw += std::size_t(width) * height * 4;
            packed += packedSize(standIn(width, height, look, random));
        }
    }
    const double mib = 1024.0 * 1024.0;
    std::printf("built library          %8.2f MiB\n", double(built) / mib);
    std::printf("60 faces to come, raw  %8.2f MiB\n", double(raw) / mib);
    std::printf("60 faces to come, packed %6.2f MiB\n", double(packed) / mib);
    std::printf("estimate with them     %8.2f MiB (limit 10 MB)\n", double(built + packed) / mib);
    return 0;
}
