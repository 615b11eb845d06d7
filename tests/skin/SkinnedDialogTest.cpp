#include "skin/SkinnedDialog.h"

#include "FrameSettings.h"
#include "layout/WindowsColour.h"
#include "skin/ChineseFont.h"
#include "skin/FontTable.h"
#include "skin/PostedMessage.h"
#include "skin/SkinFaceFormat.h"
#include "skin/SkinTooltip.h"
#include "tests/support/TestEvents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr std::uint32_t Key = 0xFF0000; // pure blue
const QColor Background(40, 40, 40);
const QColor Hover(200, 200, 0);
const QColor Checked(0, 160, 0);

// 100 x 60 faces with a transparent strip on the right (x >= 80) and a transparent corner.
QImage face(const QColor &colour)
{
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.fillRect(80, 0, 20, 60, colourFromWindows(Key));
    painter.fillRect(0, 0, 4, 4, colourFromWindows(Key));
    return image;
}

class TestDialog : public SkinnedDialog {
public:
    TestDialog(FrameSettings &state, const FontTable &fonts)
        : SkinnedDialog({state.language, state.scaleFactor, fonts}, 6, Key)
    {
        setSkin({face(Background), face(Hover), face(Checked)});
        setTooltipIds({{2, 3}});
    }

    std::vector<int> clicks;
    std::vector<std::pair<unsigned, std::uintptr_t>> messages;

protected:
    void fillTable(ButtonTable &table) override
    {
        auto entry = [](int id, ButtonRect rect) {
            DrawnButton button;
            button.id = id;
            button.rect = rect;
            return button;
        };
        table[0] = entry(1, {10, 10, 30, 30});
        table[1] = entry(-1, {0, 0, 100, 60}); // an empty slot over everything
        table[2] = entry(2, {20, 20, 40, 40}); // overlaps 1: painted over it, hit after it
        table[3] = entry(3, {50, 10, 70, 30});
        table[3].checked = true;
        table[3].tooltips = {{"zh-CN", "只有中文"}};
        table[2].setTooltip("提示", "Tip");
        table[4] = entry(4, {10, 40, 70, 55});
        table[4].isLabel = true;
        table[4].setCaption("标签", "Label");
        table[4].textColor = 0xFFFFFF;
        table[4].fontSize = 12;
    }
    void buttonClicked(int, DrawnButton &entry) override { clicks.push_back(entry.id); }
    void postedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override
    {
        messages.emplace_back(message, wParam);
    }
};

struct Fixture : ::testing::Test {
    FrameSettings state;
    FontTable fonts;
    void SetUp() override
    {
        state.language = "en-US";
        state.scaleFactor = 2.0f;
    }
};

} // namespace

using SkinnedDialogTest = Fixture;

TEST_F(SkinnedDialogTest, FrameIsScaledAndCentred)
{
    TestDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    EXPECT_EQ(dialog.size(), QSize(200, 120));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dialog.pos(), QPoint(screen.x() + (screen.width() - 200) / 2,
                                   screen.y() + (screen.height() - 120) / 2));
    EXPECT_EQ(dialog.table()[0].rect, (ButtonRect{20, 20, 60, 60}));
    EXPECT_EQ(dialog.table()[4].rect, (ButtonRect{10, 40, 70, 55})); // label in base pixels
}

TEST_F(SkinnedDialogTest, ColourKeyIsTransparentToSightAndClicks)
{
    TestDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    const QImage &face = dialog.composeFace();
    EXPECT_EQ(face.pixelColor(90, 30), colourFromWindows(Key));
    EXPECT_EQ(face.pixelColor(45, 35), Background);
    EXPECT_TRUE(dialog.isTransparentAt({2, 2}));
    EXPECT_TRUE(dialog.isTransparentAt({180, 60}));
    EXPECT_FALSE(dialog.isTransparentAt({100, 100}));
    EXPECT_FALSE(dialog.shapeRegion().contains(QPoint(180, 60)));
    EXPECT_FALSE(dialog.shapeRegion().contains(QPoint(2, 2)));
    EXPECT_TRUE(dialog.shapeRegion().contains(QPoint(100, 100)));
    EXPECT_TRUE(dialog.shapeRegion().contains(QPoint(150, 60)));

    // A press on a transparent pixel reaches neither dragging nor the buttons.
    const QPoint start = dialog.pos();
    sendMouse(dialog, QEvent::MouseButtonPress, {180, 60}, Qt::LeftButton);
    sendMouse(dialog, QEvent::MouseMove, {190, 70}, Qt::LeftButton);
    EXPECT_EQ(dialog.pos(), start);

    // Grabbed as painted on a platform without window shapes: the key colour shows as is.
    dialog.show();
    const QImage grab = dialog.grab().toImage();
    EXPECT_EQ(grab.pixelColor(190, 60), colourFromWindows(Key));
    EXPECT_EQ(grab.pixelColor(100, 110), Background);
}

namespace {

// The skin library's faces mark what is transparent by alpha 0 instead of the key colour.
QImage alphaFace(const QColor &colour)
{
    QImage image = face(colour).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        SkinFaceFormat::keyOut(reinterpret_cast<std::uint32_t *>(image.scanLine(y)),
                               std::size_t(image.width()), colourFromWindows(Key).rgb());
    return image;
}

} // namespace

TEST_F(SkinnedDialogTest, AlphaFacesAreTransparentAndShowTheKeyWithoutShapes)
{
    TestDialog dialog(state, fonts);
    dialog.setSkin({alphaFace(Background), alphaFace(Hover), alphaFace(Checked)});
    ASSERT_TRUE(dialog.initialise());
    const QImage &face = dialog.composeFace();
    EXPECT_EQ(face.pixel(90, 30), 0u);
    EXPECT_EQ(face.pixelColor(60, 20), Checked);
    EXPECT_TRUE(dialog.isTransparentAt({180, 60}));
    EXPECT_TRUE(dialog.isTransparentAt({2, 2}));
    EXPECT_FALSE(dialog.isTransparentAt({100, 100}));

    // Painted as an opaque face would be: the key colour where there is nothing.
    dialog.show();
    const QImage grab = dialog.grab().toImage();
    EXPECT_EQ(grab.pixelColor(190, 60), colourFromWindows(Key));
    EXPECT_EQ(grab.pixelColor(2, 2), colourFromWindows(Key));
    EXPECT_EQ(grab.pixelColor(100, 110), Background);
    EXPECT_EQ(grab.pixelColor(120, 40), Checked);
}

// A window pixel belongs to the shape when the face pixel under its centre is not transparent,
// at a scale that does not divide evenly, with a hole amid the face.
TEST_F(SkinnedDialogTest, ShapeFollowsTheFacePixelUnderEachWindowPixel)
{
    state.scaleFactor = 1.5f;
    QImage holed = face(Background);
    QPainter(&holed).fillRect(44, 4, 3, 3, colourFromWindows(Key));
    TestDialog dialog(state, fonts);
    dialog.setSkin({holed, holed, holed});
    ASSERT_TRUE(dialog.initialise());
    ASSERT_EQ(dialog.size(), QSize(150, 90));
    const QRegion shape = dialog.shapeRegion();
    const QImage &composed = dialog.composeFace();
    int mismatches = 0;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 150; ++x) {
            const QRgb pixel = composed.pixel(int((x + 0.5) / 1.5), int((y + 0.5) / 1.5));
            const bool seen = qAlpha(pixel) != 0 && pixel != colourFromWindows(Key).rgb();
            mismatches += shape.contains(QPoint(x, y)) != seen;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_FALSE(shape.contains(QPoint(67, 7)));  // the hole
    EXPECT_TRUE(shape.contains(QPoint(65, 7)));   // beside it
    EXPECT_TRUE(shape.contains(QPoint(119, 45))); // the last column before the strip
    EXPECT_FALSE(shape.contains(QPoint(120, 45)));
}

TEST_F(SkinnedDialogTest, PaintsCheckedHoverAndCaptions)
{
    TestDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    QImage face = dialog.composeFace();
    EXPECT_EQ(face.pixelColor(60, 20), Checked);    // checked entry
    EXPECT_EQ(face.pixelColor(15, 15), Background); // not hovered

    sendMouse(dialog, QEvent::MouseMove, {50, 50}, Qt::NoButton); // base (25, 25): buttons 1 and 2
    EXPECT_EQ(dialog.lastMousePoint(), QPoint(50, 50));
    EXPECT_TRUE(dialog.table()[0].hovered && dialog.table()[2].hovered);
    face = dialog.composeFace();
    EXPECT_EQ(face.pixelColor(15, 15), Hover);
    EXPECT_EQ(face.pixelColor(35, 35), Hover);

    // The checked look wins over hover; leaving the window clears every highlight.
    sendMouse(dialog, QEvent::MouseMove, {120, 40}, Qt::NoButton);
    EXPECT_EQ(dialog.composeFace().pixelColor(60, 20), Checked);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&dialog, &leave);
    EXPECT_FALSE(dialog.table()[3].hovered);
    EXPECT_EQ(dialog.composeFace().pixelColor(15, 15), Background);

    // The label's caption is drawn in its colour inside its base rectangle, only there.
    int white = 0;
    face = dialog.composeFace();
    for (int y = 40; y < 55; ++y)
        for (int x = 10; x < 70; ++x)
            white += face.pixelColor(x, y).lightness() > 200;
    EXPECT_GT(white, 5);
    EXPECT_EQ(face.pixelColor(5, 50), Background);

    // A hover face handed over late is asked for once, when a hover first shows, and a new skin
    // drops it unasked.
    int asked = 0;
    dialog.setSkin({::face(Background), FacePatches(QSize(100, 60)), ::face(Checked)}, true);
    dialog.setDeferredHover([&asked] {
        ++asked;
        return FacePatches(::face(Hover));
    });
    EXPECT_EQ(dialog.composeFace().pixelColor(60, 20), Checked);
    EXPECT_EQ(asked, 0);
    moveMouse(dialog, {50, 50});
    EXPECT_EQ(dialog.composeFace().pixelColor(15, 15), Hover);
    moveMouse(dialog, {20, 20});
    EXPECT_EQ(dialog.composeFace().pixelColor(15, 15), Hover);
    EXPECT_EQ(asked, 1);
    dialog.setDeferredHover([&asked] {
        ++asked;
        return FacePatches();
    });
    dialog.setSkin({::face(Background), ::face(Hover), ::face(Checked)}, true);
    EXPECT_EQ(dialog.composeFace().pixelColor(15, 15), Hover);
    EXPECT_EQ(asked, 1);
}

TEST_F(SkinnedDialogTest, ReleasesGoToTheFirstHitAndFreeSpotsDrag)
{
    TestDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    pressAndRelease(dialog, {50, 50});  // inside 1 and 2: the first in table order
    pressAndRelease(dialog, {75, 75});  // only 2
    pressAndRelease(dialog, {30, 100}); // the label: never hit, a free spot
    pressAndRelease(dialog, {2, 100});  // nothing at all, the empty slot is skipped
    EXPECT_EQ(dialog.clicks, (std::vector<int>{1, 2}));

    // A press on a button and a release elsewhere on no button does nothing.
    sendMouse(dialog, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton);
    sendMouse(dialog, QEvent::MouseButtonRelease, {150, 100}, Qt::NoButton);
    EXPECT_EQ(dialog.clicks.size(), 2u);

    // Pressing a free spot moves the window with the pointer and clicks nothing.
    dialog.show();
    const QPoint start = dialog.pos();
    sendMouse(dialog, QEvent::MouseButtonPress, {150, 100}, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 100),
                     QPointF(dialog.mapToGlobal(QPoint(150, 100)) + QPoint(30, 12)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    sendMouse(dialog, QEvent::MouseButtonRelease, {150, 100}, Qt::NoButton);
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 12));
    EXPECT_EQ(dialog.clicks.size(), 2u);
}

TEST_F(SkinnedDialogTest, PostedMessagesArriveAndOutliveTheDialog)
{
    auto dialog = std::make_unique<TestDialog>(state, fonts);
    std::shared_ptr<MessageTarget> target = dialog->messageTarget();
    std::thread worker([handle = dialog->messageHandle()] {
        for (std::uintptr_t i = 0; i < 3; ++i)
            postTo(handle, quillodev::DeviceMessageProgress, i, 0);
    });
    worker.join();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(dialog->messages.size(), 3u);
    EXPECT_EQ(dialog->messages[2], std::make_pair(0x467u, std::uintptr_t(2)));

    // Pending posts die with the dialog; later ones go nowhere.
    target->post(quillodev::DeviceMessageDone, 0, 0);
    dialog.reset();
    target->post(quillodev::DeviceMessageDone, 0, 0);
    QCoreApplication::sendPostedEvents();
}

TEST(FontTable, PixelHeights)
{
    FontTable fonts;
    EXPECT_EQ(fonts.font(13).pixelSize(), 13);
    EXPECT_EQ(fonts.font(49).pixelSize(), 49);
    EXPECT_EQ(fonts.font(80).pixelSize(), 49);
    // The default face first, so that Latin text keeps it; Chinese characters in the Chinese
    // face, where one is installed.
    EXPECT_EQ(fonts.font(-3).family(), QFontInfo(QFont()).family());
    if (!ChineseFont::family().isEmpty()) {
        EXPECT_EQ(fonts.font(13).families().back(), ChineseFont::family());
    }
    EXPECT_EQ(SkinnedDialog::textFlags(1), int(Qt::AlignHCenter | Qt::AlignTop));
    EXPECT_EQ(SkinnedDialog::textFlags(0x25), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(SkinnedDialog::textFlags(2), int(Qt::AlignRight | Qt::AlignTop));
}

TEST_F(SkinnedDialogTest, TooltipsShowOnlyForTheirIdsInTheCurrentLanguage)
{
    TestDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    auto *tooltip = dialog.findChild<SkinTooltip *>();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(tooltip->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(tooltip->palette().color(QPalette::Window), QColor(255, 255, 0));
    const auto settle = [&] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };

    sendMouse(dialog, QEvent::MouseMove, {75, 75}, Qt::NoButton); // entry 2 only
    settle();
    EXPECT_TRUE(tooltip->isVisible());
    EXPECT_EQ(tooltip->text(), QStringLiteral("Tip"));

    sendMouse(dialog, QEvent::MouseMove, {22, 22}, Qt::NoButton); // entry 1: no tooltip id
    settle();
    EXPECT_FALSE(tooltip->isVisible());

    // Entry 3 has only a Chinese tooltip: in English there is nothing to show.
    sendMouse(dialog, QEvent::MouseMove, {120, 40}, Qt::NoButton);
    settle();
    EXPECT_FALSE(tooltip->isVisible());
    state.language = "zh-CN";
    sendMouse(dialog, QEvent::MouseMove, {22, 22}, Qt::NoButton);
    sendMouse(dialog, QEvent::MouseMove, {120, 40}, Qt::NoButton);
    settle();
    EXPECT_TRUE(tooltip->isVisible());
    EXPECT_EQ(tooltip->text(), QStringLiteral("只有中文"));
}
