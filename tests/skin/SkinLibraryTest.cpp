#include "skin/SkinLibrary.h"

#include "app/MainWindowTable.h"
#include "skin/WindowsColour.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        // Corners are transparent in exactly the key colour, the middle is not.
        const QColor key = colourFromWindows(MainWindowTable::ColourKey);
        EXPECT_EQ(faces.background.pixelColor(0, 0), key);
        EXPECT_EQ(faces.hover.pixelColor(1239, 669), key);
        EXPECT_NE(faces.checked.pixelColor(620, 335), key);
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
                    if (ring
                        && (faces.hover.pixel(x, y) != plain || faces.checked.pixel(x, y) != plain))
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
        for (const DrawnButton &entry : MainWindowTable::build(deviceType)) {
            if (!entry.isHittable())
                continue;
            EXPECT_TRUE(differs(faces.background, faces.hover, entry.rect)) << entry.id;
            const bool windowButton = entry.id >= HelpButton && entry.id <= ExitButton;
            EXPECT_EQ(differs(faces.background, faces.checked, entry.rect), !windowButton)
                << entry.id;
        }
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

    // And a good load afterwards works from scratch.
    EXPECT_TRUE(library.load(BinDir, 2));
    EXPECT_EQ(library.error(), SkinLibrary::Error::None);
    EXPECT_FALSE(library.bitmap(146).isNull());
}
