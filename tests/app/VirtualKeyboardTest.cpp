#include "MainWindowHarness.h"

#include "keymap/NuboDialogVirtual.h"
#include "keymap/VirtualKeyCaptions.h"
#include "layout/VirtualKeyboardTable.h"
#include "skin/KeyCapPainter.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QSize FaceSize(VirtualKeyboardTable::BaseWidth, VirtualKeyboardTable::BaseHeight);

struct VirtualFixture {
    explicit VirtualFixture(int mode, const char *language = "en-US")
    {
        state.buildCatalogue();
        state.language = language;
        state.deviceType = 4;
        state.scaleFactor = 1.0f;
        dialog = std::make_unique<NuboDialogVirtual>(
            DialogContext{state.language, state.scaleFactor, fonts}, state.catalogue, state,
            positionCodedSkin(FaceSize));
        dialog->pickMode = mode;
    }
    bool start()
    {
        if (!dialog->initialise())
            return false;
        dialog->show();
        return true;
    }
    int indexOfCode(int code) const
    {
        for (std::size_t i = 0; i < dialog->table().size(); ++i) {
            if (VirtualKeyboardTable::isKey(dialog->table()[i].id)
                && dialog->table()[i].keyIndex == code)
                return int(i);
        }
        return -1;
    }
    void click(int code) { dialog->clickEntry(indexOfCode(code)); }
    bool checked(int code) const { return dialog->table()[std::size_t(indexOfCode(code))].checked; }
    QString text()
    {
        dialog->grab();
        return dialog->pickText()->toPlainText();
    }
    QPoint centre(int code) const
    {
        const ButtonRect r = dialog->table()[std::size_t(indexOfCode(code))].rect;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    AppState state;
    FontTable fonts;
    std::unique_ptr<NuboDialogVirtual> dialog;
};

} // namespace

TEST(VirtualKeyboard, SingleKeyModeKeepsOnePick)
{
    VirtualFixture f(1);
    f.state.virtualPick = 70;
    ASSERT_TRUE(f.start());
    EXPECT_TRUE(f.checked(70));
    EXPECT_EQ(f.dialog->table()[std::size_t(f.indexOfCode(70))].id, 169);
    EXPECT_EQ(f.text(), QStringLiteral("Single:SPACEBAR"));

    f.click(43); // A replaces Space
    EXPECT_TRUE(f.checked(43));
    EXPECT_FALSE(f.checked(70));
    EXPECT_EQ(f.state.virtualPick, 43);
    f.click(43); // and clicked again clears the pick
    EXPECT_FALSE(f.checked(43));
    EXPECT_EQ(f.state.virtualPick, 0);
    EXPECT_EQ(f.text(), QStringLiteral("Single:-- --"));

    // Keys without a button: the media keys and power functions cannot be picked.
    for (int code : {75, 76, 77, 108, 112, 156})
        EXPECT_EQ(f.indexOfCode(code), -1) << code;

    VirtualFixture chinese(1, "zh-CN");
    chinese.state.virtualPick = 112; // no button: nothing checked
    ASSERT_TRUE(chinese.start());
    for (const DrawnButton &entry : chinese.dialog->table())
        EXPECT_FALSE(entry.checked);
    EXPECT_EQ(chinese.text(), QString::fromUtf8("单键：Mute"));
}

TEST(VirtualKeyboard, CombinationModeKeepsSixInOrder)
{
    VirtualFixture f(2);
    f.state.virtualPickCount = 3; // left over from an earlier pick
    f.state.virtualPicks = {1, 2, 3, 0, 0, 0};
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.state.virtualPickCount, 0);
    EXPECT_EQ(f.text(), QStringLiteral("Combo:-- --"));

    for (int code : {67, 69, 84}) // LCTRL, LALT, DEL
        f.click(code);
    EXPECT_EQ(f.text(), QStringLiteral("Combo:LCTRL+LALT+DEL"));
    f.click(69); // the middle one goes, the others keep their order
    EXPECT_EQ(f.state.virtualPickCount, 2);
    EXPECT_EQ(f.state.virtualPicks[0], 67);
    EXPECT_EQ(f.state.virtualPicks[1], 84);
    EXPECT_EQ(f.state.virtualPicks[2], 0);
    EXPECT_EQ(f.text(), QStringLiteral("Combo:LCTRL+DEL"));

    for (int code : {43, 44, 45, 46}) // up to six
        f.click(code);
    EXPECT_EQ(f.state.virtualPickCount, 6);
    f.click(47); // a seventh is refused
    EXPECT_FALSE(f.checked(47));
    EXPECT_EQ(f.state.virtualPickCount, 6);
    EXPECT_EQ(f.state.virtualPicks[5], 46);
}

TEST(VirtualKeyboard, ButtonsAndTheDoubleClick)
{
    // OK, Cancel and the close mark end the dialog.
    for (auto [id, result] : {std::pair{VirtualKeyboardTable::OkButton, int(QDialog::Accepted)},
                              std::pair{VirtualKeyboardTable::CancelButton, 0},
                              std::pair{VirtualKeyboardTable::CloseMark, 0}}) {
        VirtualFixture f(1);
        ASSERT_TRUE(f.start());
        f.dialog->clickEntry(f.dialog->table().indexOfId(id));
        EXPECT_EQ(f.dialog->result(), result);
        EXPECT_FALSE(f.dialog->isVisible());
    }

    // A single click waits out the double-click time before it picks.
    VirtualFixture single(1);
    ASSERT_TRUE(single.start());
    const QPoint a = single.centre(43);
    sendMouse(*single.dialog, QEvent::MouseMove, a, Qt::NoButton);
    sendMouse(*single.dialog, QEvent::MouseButtonPress, a, Qt::LeftButton);
    sendMouse(*single.dialog, QEvent::MouseButtonRelease, a, Qt::NoButton);
    EXPECT_EQ(single.state.virtualPick, 0);
    runEventsFor(NuboDialogVirtual::ClickHoldMs + 60);
    EXPECT_EQ(single.state.virtualPick, 43);
    EXPECT_TRUE(single.dialog->isVisible());

    // A double click in mode 1 picks the key and closes with OK once the button is up.
    VirtualFixture twice(1);
    twice.state.virtualPick = 70;
    ASSERT_TRUE(twice.start());
    const QPoint s = twice.centre(44);
    sendMouse(*twice.dialog, QEvent::MouseButtonPress, s, Qt::LeftButton);
    sendMouse(*twice.dialog, QEvent::MouseButtonRelease, s, Qt::NoButton);
    sendMouse(*twice.dialog, QEvent::MouseButtonDblClick, s, Qt::LeftButton);
    EXPECT_TRUE(twice.dialog->isVisible());
    sendMouse(*twice.dialog, QEvent::MouseButtonRelease, s, Qt::NoButton);
    EXPECT_EQ(twice.dialog->result(), QDialog::Accepted);
    EXPECT_EQ(twice.state.virtualPick, 44);
    runEventsFor(NuboDialogVirtual::ClickHoldMs + 60); // nothing held acts afterwards
    EXPECT_EQ(twice.state.virtualPick, 44);

    // Without its release the double click still ends after a while.
    VirtualFixture late(1);
    ASSERT_TRUE(late.start());
    sendMouse(*late.dialog, QEvent::MouseButtonDblClick, late.centre(45), Qt::LeftButton);
    runEventsFor(NuboDialogVirtual::DoubleClickReleaseMs + 80);
    EXPECT_EQ(late.dialog->result(), QDialog::Accepted);
    EXPECT_EQ(late.state.virtualPick, 45);

    // In mode 2 a double click counts as one click.
    VirtualFixture combination(2);
    ASSERT_TRUE(combination.start());
    const QPoint d = combination.centre(45);
    sendMouse(*combination.dialog, QEvent::MouseButtonPress, d, Qt::LeftButton);
    sendMouse(*combination.dialog, QEvent::MouseButtonRelease, d, Qt::NoButton);
    sendMouse(*combination.dialog, QEvent::MouseButtonDblClick, d, Qt::LeftButton);
    sendMouse(*combination.dialog, QEvent::MouseButtonRelease, d, Qt::NoButton);
    runEventsFor(NuboDialogVirtual::ClickHoldMs + 60);
    EXPECT_TRUE(combination.checked(45));
    EXPECT_EQ(combination.state.virtualPickCount, 1);
    EXPECT_TRUE(combination.dialog->isVisible());
}

TEST(VirtualKeyboard, TableAndPlacement)
{
    const std::vector<DrawnButton> table = VirtualKeyboardTable::build();
    ASSERT_EQ(table.size(), std::size_t(VirtualKeyboardTable::EntryCount));
    int keys = 0;
    for (const DrawnButton &entry : table) {
        if (!VirtualKeyboardTable::isKey(entry.id))
            continue;
        ++keys;
        EXPECT_GE(entry.keyIndex, 1);
        EXPECT_LE(entry.keyIndex, 107);
        EXPECT_FALSE(entry.keyIndex >= 75 && entry.keyIndex <= 77);
        EXPECT_EQ(entry.captions.at("zh-CN"), entry.captions.at("en-US"));
    }
    EXPECT_EQ(keys, 104); // with the six entries before them the table is full
    EXPECT_TRUE(table[3].isLabel);
    EXPECT_EQ(table[3].fontSize, 17);

    // The pick text under the keys, at the window's scale.
    VirtualFixture f(1);
    f.state.scaleFactor = 1.5f;
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.dialog->size(), QSize(1395, 525));
    EXPECT_EQ(f.dialog->pickText()->geometry(), QRect(30, 457, 750, 48));
    EXPECT_EQ(f.dialog->pickText()->font().pixelSize(), 22);
    EXPECT_EQ(f.dialog->table()[1].rect, (ButtonRect{855, 456, 978, 507}));
}

// The legends are drawn over the stretched face at the screen's resolution, fitted there: at
// every scale each line keeps its whole text inside its cap, larger as the scale grows, and
// in the colour of its cap's state.
TEST(VirtualKeyboard, LegendsFitTheirCapsAtTheScreensResolution)
{
    int prtScreenPixels[2] = {};
    for (const float scale : {1.0f, 1.5f, 2.0f}) {
        SCOPED_TRACE(scale);
        for (const DrawnButton &entry : VirtualKeyboardTable::build()) {
            if (!VirtualKeyboardTable::isKey(entry.id))
                continue;
            const QRect base(entry.rect.left, entry.rect.top, entry.rect.width(),
                             entry.rect.height());
            const QRect cap(QPoint(int(base.left() * scale), int(base.top() * scale)),
                            QPoint(int(base.right() * scale), int(base.bottom() * scale)));
            const QString caption = QString::fromStdString(entry.captions.at("en-US"));
            const auto lines = VirtualKeyCaptions::legendLines(base, caption, scale);
            EXPECT_FALSE(lines.empty()) << caption.toStdString();
            for (const VirtualKeyCaptions::Line &line : lines) {
                const VirtualKeyCaptions::Fit fit = VirtualKeyCaptions::fit(
                    line.font, line.rect, Qt::AlignCenter, line.text, line.byInk);
                EXPECT_EQ(fit.text, line.text) << caption.toStdString() << " is cut";
                EXPECT_GE(fit.font.pixelSize(), VirtualKeyCaptions::SmallestPixels);
                EXPECT_TRUE(cap.contains(line.rect)) << caption.toStdString();
                if (caption == QLatin1String("PrtScreen") && scale != 2.0f)
                    prtScreenPixels[scale == 1.0f ? 0 : 1] = fit.font.pixelSize();
            }
        }
    }
    EXPECT_GT(prtScreenPixels[1], prtScreenPixels[0]);

    VirtualFixture f(1);
    f.state.scaleFactor = 1.5f;
    f.state.virtualPick = 70; // Space, picked
    ASSERT_TRUE(f.start());
    const QImage shown = f.dialog->grab().toImage();
    const auto inks = [&](int code, const QColor &ink) {
        const ButtonRect r = f.dialog->table()[std::size_t(f.indexOfCode(code))].rect;
        int found = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                found += shown.pixelColor(x, y) == ink;
        }
        return found;
    };
    EXPECT_GT(inks(70, KeyCapPainter::pickedLegendColour()), 20);
    EXPECT_EQ(inks(70, KeyCapPainter::legendColour(FaceLook::Checked)), 0);
    EXPECT_GT(inks(78, KeyCapPainter::legendColour(FaceLook::Checked)), 20); // PrtScreen
}
