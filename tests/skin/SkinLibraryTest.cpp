#include "skin/SkinLibrary.h"

#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

const QString BinDir = QStringLiteral(QUILLO_BIN_DIR);

QString libraryPath()
{
    return QDir(BinDir).filePath(QLatin1String(SkinLibrary::FileName));
}

} // namespace

TEST(SkinLibrary, BuiltLibraryHoldsEveryVariantsFaces)
{
    for (int deviceType = 0; deviceType <= 4; ++deviceType) {
        SkinLibrary library;
        ASSERT_TRUE(library.load(BinDir, deviceType)) << library.errorText(false).toStdString();
        const SkinImages faces
            = library.images(SkinIds::skinSet(SkinDialog::MainWindow, deviceType));
        ASSERT_TRUE(faces.isComplete());
        EXPECT_EQ(faces.background.size(),
                  QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight));
        const QImage hover = faces.hover.toImage(faces.background);
        const QImage checked = faces.checked.toImage(faces.background);
        // Corners are transparent, the middle is opaque, and no pixel kept the key colour.
        EXPECT_EQ(faces.background.pixel(0, 0), 0u);
        EXPECT_EQ(hover.pixel(1239, 669), 0u);
        EXPECT_EQ(qAlpha(checked.pixel(620, 335)), 255);
        const QRgb key = colourFromWindows(MainWindowTable::ColourKey).rgb();
        int keyed = 0;
        for (const QImage &face : {faces.background, hover, checked}) {
            for (int y = 0; y < face.height(); ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(face.constScanLine(y));
                keyed += int(std::count(line, line + face.width(), key));
            }
        }
        EXPECT_EQ(keyed, 0);
        // Packed in the library, backgrounds unpacked into rows on 64-byte boundaries.
        for (int id : SkinIds::programBitmapIds(deviceType))
            EXPECT_FALSE(library.isInPlace(id)) << id;
        for (const SkinSet &set : SkinIds::programSkinSets(deviceType))
            EXPECT_EQ(quintptr(library.bitmap(set.background).constBits()) % 64, 0u)
                << set.background;
        const QImage bar = library.bitmap(SkinIds::ScrollBar);
        EXPECT_EQ(bar.width() % 9, 0);
        EXPECT_EQ(bar.height(), bar.width() / 3);
        EXPECT_TRUE(library.bitmap(9999).isNull());
    }
}

// The frame copies a button's rectangle after a round trip through client pixels, which may
// start a pixel early and end two short: around every edge the three faces must agree.
TEST(SkinLibrary, FacesAgreeAroundEveryButtonEdge)
{
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        SkinLibrary library;
        ASSERT_TRUE(library.load(BinDir, deviceType));
        const SkinImages faces
            = library.images(SkinIds::skinSet(SkinDialog::MainWindow, deviceType));
        const QImage hover = faces.hover.toImage(faces.background);
        const QImage checked = faces.checked.toImage(faces.background);
        int differing = 0;
        for (const DrawnButton &entry : MainWindowTable::build(deviceType)) {
            if (!entry.isHittable())
                continue;
            const ButtonRect r = entry.rect;
            for (int y = r.top - 1; y < r.bottom; ++y) {
                for (int x = r.left - 1; x < r.right; ++x) {
                    const bool ring
                        = x < r.left + 2 || y < r.top + 2 || x >= r.right - 2 || y >= r.bottom - 2;
                    const QRgb plain = faces.background.pixel(x, y);
                    if (ring && (hover.pixel(x, y) != plain || checked.pixel(x, y) != plain))
                        ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << "variant " << deviceType;
    }
}

// Every button has a highlighted look, and every key and tool bar button a checked one.
TEST(SkinLibrary, EveryButtonIsDrawnInEachLook)
{
    const auto differs = [](const QImage &a, const QImage &b, const ButtonRect &r) {
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return true;
        return false;
    };
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        SkinLibrary library;
        ASSERT_TRUE(library.load(BinDir, deviceType));
        const SkinImages faces
            = library.images(SkinIds::skinSet(SkinDialog::MainWindow, deviceType));
        const QImage hover = faces.hover.toImage(faces.background);
        const QImage checked = faces.checked.toImage(faces.background);
        for (const DrawnButton &entry : MainWindowTable::build(deviceType)) {
            if (!entry.isHittable())
                continue;
            EXPECT_TRUE(differs(faces.background, hover, entry.rect)) << entry.id;
            const bool windowButton = entry.id >= HelpButton && entry.id <= ExitButton;
            EXPECT_EQ(differs(faces.background, checked, entry.rect), !windowButton) << entry.id;
        }
    }
}

// The legend's bars are drawn by the window, which places them after measuring the names in
// its own font: the faces leave the legend's row plain, so that no bar of another place shows.
TEST(SkinLibrary, FacesLeaveTheLegendToTheWindow)
{
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        SkinLibrary library;
        ASSERT_TRUE(library.load(BinDir, deviceType));
        const QImage face
            = library.bitmap(SkinIds::skinSet(SkinDialog::MainWindow, deviceType).background);
        const ButtonRect &row = MainWindowTable::LegendArea;
        int coloured = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.right; ++x)
                coloured += QColor(face.pixel(x, y)).hsvSaturation() > 80;
        EXPECT_EQ(coloured, 0) << "variant " << deviceType;
    }
}

TEST(SkinLibrary, MissingOrBadLibrariesAreReportedClearly)
{
    SkinLibrary library;
    EXPECT_FALSE(library.load(QStringLiteral("/nonexistent/folder"), 1));
    EXPECT_EQ(library.error(), SkinLibrary::Error::FileMissing);
    EXPECT_TRUE(library.errorText(false).contains(QLatin1String("Quillores.rcc")));
    EXPECT_TRUE(library.errorText(true).contains(QLatin1String("Quillores.rcc")));
    EXPECT_TRUE(library.bitmap(101).isNull());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile junk(dir.filePath(QLatin1String(SkinLibrary::FileName)));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a resource library");
    junk.close();
    EXPECT_FALSE(library.load(dir.path(), 1));
    EXPECT_EQ(library.error(), SkinLibrary::Error::FileUnreadable);

    // Sets the library cannot satisfy: a missing id, a misfit size, a single that is no sheet.
    EXPECT_FALSE(library.loadFile(libraryPath(), {{101, 102, 9999}}, {}));
    EXPECT_EQ(library.error(), SkinLibrary::Error::BitmapMissing);
    EXPECT_EQ(library.errorBitmap(), 9999);
    EXPECT_TRUE(library.errorText(false).contains(QLatin1String("9999")));
    EXPECT_TRUE(library.bitmap(101).isNull()); // nothing half-loaded stays behind
    EXPECT_FALSE(library.loadFile(libraryPath(), {{101, 102, SkinIds::ScrollBar}}, {}));
    EXPECT_EQ(library.error(), SkinLibrary::Error::BitmapSize);
    EXPECT_EQ(library.errorBitmap(), SkinIds::ScrollBar);
    EXPECT_FALSE(library.loadFile(libraryPath(), {}, {101}));
    EXPECT_EQ(library.error(), SkinLibrary::Error::BitmapSize);

    // Cut short: the library's own index lies past the end.
    QFile built(libraryPath());
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray whole = built.readAll();
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write(whole.left(whole.size() / 2));
    junk.close();
    EXPECT_FALSE(library.load(dir.path(), 1));
    EXPECT_EQ(library.error(), SkinLibrary::Error::FileUnreadable);

    // Every bitmap of a raw library claims a row more than it holds, and all patches one patch
    // more.
    QFile raw(
        QDir(QStringLiteral(QUILLO_TEST_LIBRARIES)).filePath(QStringLiteral("raw/Quillores.rcc")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    QByteArray damaged = raw.readAll();
    int headers = 0;
    for (const auto &[magic, field] : {std::pair(QByteArray("QSKF\x01\0\0\0", 8), 12),
                                       std::pair(QByteArray("QSKP\x01\0\0\0", 8), 16)}) {
        for (qsizetype at = damaged.indexOf(magic); at >= 0; at = damaged.indexOf(magic, at + 1)) {
            quint32 value;
            std::memcpy(&value, damaged.constData() + at + field, 4);
            ++value;
            std::memcpy(damaged.data() + at + field, &value, 4);
            ++headers;
        }
    }
    EXPECT_EQ(headers, 4);
    // And every packed bitmap of the built one has lost the mark of its frame.
    QByteArray unframed = whole;
    const QByteArray frame("\x28\xB5\x2F\xFD", 4);
    int frames = 0;
    for (qsizetype at = unframed.indexOf(frame); at >= 0; at = unframed.indexOf(frame, at + 1)) {
        unframed[at] = 0;
        ++frames;
    }
    EXPECT_GE(frames, 13);
    for (const QByteArray &bytes : {damaged, unframed}) {
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
        junk.write(bytes);
        junk.close();
        EXPECT_FALSE(library.load(dir.path(), 1));
        EXPECT_EQ(library.error(), SkinLibrary::Error::BitmapDamaged);
        EXPECT_EQ(library.errorBitmap(), 101);
        EXPECT_TRUE(library.errorText(false).contains(QLatin1String("bitmap 101 cannot be read")));
        EXPECT_TRUE(library.errorText(true).contains(QLatin1String("101")));
    }

    // And a good load afterwards works from scratch.
    EXPECT_TRUE(library.load(BinDir, 2));
    EXPECT_EQ(library.error(), SkinLibrary::Error::None);
    EXPECT_FALSE(library.bitmap(146).isNull());
}

// Bitmaps lie in the mapped file: images handed out stay valid after the library has gone or
// loaded another file, and drawing on one changes a copy only.
TEST(SkinLibrary, ImagesOutliveTheirLibrary)
{
    QImage face;
    QImage other;
    {
        SkinLibrary library;
        ASSERT_TRUE(library.load(BinDir, 1));
        face = library.bitmap(101);
        ASSERT_TRUE(library.load(BinDir, 4));
        other = library.bitmap(157);
    }
    EXPECT_EQ(qAlpha(face.pixel(620, 335)), 255);
    EXPECT_EQ(qAlpha(other.pixel(620, 335)), 255);
    const QRgb before = face.pixel(620, 335);
    QImage drawn = face;
    drawn.fill(Qt::red);
    EXPECT_EQ(face.pixel(620, 335), before);

    SkinLibrary again;
    ASSERT_TRUE(again.load(BinDir, 1));
    EXPECT_EQ(again.bitmap(101), face);
}

// The main window's faces are unpacked for the start and kept; every other face is unpacked
// anew whenever it is asked for, so that it lives only as long as the window holding it, and
// is then the same as unpacked at once. Highlights are kept only where they differ.
TEST(SkinLibrary, OtherFacesAreUnpackedWhenAskedForAndTheSame)
{
    SkinLibrary lazy;
    ASSERT_TRUE(lazy.load(BinDir, 4));
    SkinLibrary eager;
    ASSERT_TRUE(eager.loadFile(libraryPath(), SkinIds::programSkinSets(4), {SkinIds::ScrollBar}));
    for (int id : SkinIds::programBitmapIds(4))
        EXPECT_EQ(lazy.bitmap(id), eager.bitmap(id)) << id;

    const auto bits = [](const SkinImages &faces) {
        return std::vector<const uchar *>{faces.background.constBits(),
                                          faces.hover.patches().front().pixels.constBits(),
                                          faces.checked.patches().front().pixels.constBits()};
    };
    // The main window's faces are kept, but for the hover face, which its first frame does not
    // show.
    const SkinSet mainWindow = SkinIds::skinSet(SkinDialog::MainWindow, 4);
    const SkinImages mainFaces = lazy.images(mainWindow);
    const std::vector<const uchar *> mainBits = bits(mainFaces);
    const std::vector<const uchar *> mainAgain = bits(lazy.images(mainWindow));
    EXPECT_EQ(mainBits[0], mainAgain[0]);
    EXPECT_NE(mainBits[1], mainAgain[1]);
    EXPECT_EQ(mainBits[2], mainAgain[2]);
    // Taken, the background is no longer kept; asked for again, it is unpacked again.
    const QImage taken = lazy.takeBitmap(mainWindow.background);
    EXPECT_EQ(taken.constBits(), mainBits[0]);
    const QImage unpackedAgain = lazy.bitmap(mainWindow.background);
    EXPECT_NE(unpackedAgain.constBits(), taken.constBits());
    EXPECT_EQ(unpackedAgain, taken);
    EXPECT_NE(lazy.takeBitmap(mainWindow.background).constBits(), taken.constBits());
    const SkinSet keySettings = SkinIds::skinSet(SkinDialog::KeySettings, 4, 2);
    // Both held at once: a face let go of may hand its memory to the next.
    const SkinImages held = lazy.images(keySettings);
    const SkinImages heldAgain = lazy.images(keySettings);
    const std::vector<const uchar *> first = bits(held);
    const std::vector<const uchar *> again = bits(heldAgain);
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_NE(first[i], again[i]) << i;
    const std::vector<const uchar *> kept = bits(eager.images(keySettings));
    EXPECT_EQ(kept[0], bits(eager.images(keySettings))[0]);
    EXPECT_EQ(kept[2], bits(eager.images(keySettings))[2]);

    for (const SkinSet &set : SkinIds::programSkinSets(4)) {
        const SkinImages faces = lazy.images(set);
        const std::size_t whole = std::size_t(faces.background.sizeInBytes());
        EXPECT_LT(faces.hover.byteCount(), whole / 2) << set.hover;
        EXPECT_LT(faces.checked.byteCount(), whole / 2) << set.checked;
    }
}

// The library stays small: every dialog's faces, packed, in at most 10 MB.
TEST(SkinLibrary, BuiltLibraryIsPacked)
{
    const qint64 size = QFileInfo(libraryPath()).size();
    EXPECT_GT(size, 0);
    EXPECT_LE(size, 10 * 1024 * 1024);
}

// rcc may pack bitmaps (zstd as built, or zlib), or store them raw, also where their rows are
// not 4-byte aligned: raw and aligned they are used in place, otherwise unpacked or copied
// out, and all equal, while the libraries are registered at the same time.
TEST(SkinLibrary, PackedOrMisalignedBitmapsAreCopiedOut)
{
    const QDir libraries(QStringLiteral(QUILLO_TEST_LIBRARIES));
    const SkinSet set = SkinIds::skinSet(SkinDialog::MainWindow, 1);
    SkinLibrary inPlace;
    ASSERT_TRUE(inPlace.loadFile(libraries.filePath(QStringLiteral("raw/Quillores.rcc")), {set},
                                 {SkinIds::ScrollBar}))
        << inPlace.errorText(false).toStdString();
    SkinLibrary built;
    ASSERT_TRUE(built.load(BinDir, 1));
    for (int id : {set.background, set.hover, set.checked, SkinIds::ScrollBar})
        EXPECT_EQ(built.bitmap(id), inPlace.bitmap(id)) << id;
    for (const char *kind : {"packed", "shifted"}) {
        SCOPED_TRACE(kind);
        SkinLibrary other;
        const QString path = libraries.filePath(QLatin1String(kind) + "/Quillores.rcc");
        ASSERT_TRUE(other.loadFile(path, {set}, {SkinIds::ScrollBar}))
            << other.errorText(false).toStdString();
        int copied = 0;
        for (int id : {set.background, set.hover, set.checked, SkinIds::ScrollBar}) {
            copied += !other.isInPlace(id);
            EXPECT_TRUE(inPlace.isInPlace(id)) << id;
            EXPECT_EQ(other.bitmap(id), inPlace.bitmap(id)) << id;
        }
        // Packed: all of them; shifted: those rcc placed after an odd file.
        EXPECT_GE(copied, 1);
        // These libraries hold only variant 1.
        EXPECT_FALSE(other.loadFile(path, {SkinIds::skinSet(SkinDialog::MainWindow, 4)}, {}));
        EXPECT_EQ(other.error(), SkinLibrary::Error::BitmapMissing);
    }
}
