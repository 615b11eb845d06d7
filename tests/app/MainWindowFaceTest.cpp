#include "MainWindowHarness.h"

#include "app/HeatmapView.h"
#include "app/KeyTester.h"
#include "layout/MainWindowTable.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

// A main window that keeps all of its background aside: what the window would show if its
// drawing were not kept to the area it names.
class WholeFaceWindow : public ScriptedMainWindow {
public:
    using ScriptedMainWindow::ScriptedMainWindow;

protected:
    QRegion drawnArea() const override
    {
        return QRect(0, 0, MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);
    }
};

// The window as shown, without composing its face anew, and then composed whole.
void record(ScriptedMainWindow &window, std::vector<QImage> &shots)
{
    runEventsFor(30);
    QImage shown;
    window.grabAsShown(1 << 20, [&](const QImage &band, int) {
        shown = band;
        return true;
    });
    shots.push_back(shown);
    shots.push_back(window.composeFace().copy());
}

void press(QWidget &window, unsigned short evdev)
{
    for (const bool down : {true, false}) {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                        quint32(evdev) + 8, 0, 0);
        QApplication::sendEvent(&window, &event);
    }
}

QPoint centre(ScriptedMainWindow &window, int key)
{
    const ButtonRect r = window.table()[std::size_t(12 + key)].rect;
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// One run through what changes the face: assignments, hover, the keyboard's mark, the heatmap,
// the key test, working offline and the other language.
template<class Window>
std::vector<QImage> faces()
{
    AttachedKeyboard attached(4);
    attached.state.language = "en-US";
    Window window(
        attached.state, attached.fonts,
        positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)));
    std::vector<QImage> shots;
    if (!window.initialise())
        return shots;
    window.show();
    record(window, shots);

    for (int key = 1; key <= 20; ++key)
        attached.state.category[std::size_t(AppState::index(key, 0))] = key % 6;
    window.update();
    moveMouse(window, centre(window, 5));
    record(window, shots);

    sendKey(window, Qt::Key_Tab);
    sendKey(window, Qt::Key_Right);
    moveMouse(window, centre(window, 9));
    record(window, shots);

    for (int key = 1; key <= AppState::KeyCount; ++key)
        attached.state.pressCounters.counts[std::size_t(key)] = std::uint32_t(key * 37);
    attached.state.pressCounters.updateExtremes();
    window.heatmap().setOn(true);
    window.update();
    moveMouse(window, centre(window, 30));
    record(window, shots);

    window.runCommand(KeyTestButton);
    press(window, 30); // A
    press(window, 57); // Space
    record(window, shots);
    window.runCommand(KeyTestButton);

    attached.state.offline = true;
    window.update();
    record(window, shots);
    window.runCommand(LanguageButton);
    moveMouse(window, centre(window, 40));
    record(window, shots);
    return shots;
}

} // namespace

TEST(MainWindowFace, ComposedInPlaceItShowsWhatAWholeCopyWould)
{
    const std::vector<QImage> kept = faces<ScriptedMainWindow>();
    const std::vector<QImage> whole = faces<WholeFaceWindow>();
    ASSERT_EQ(kept.size(), 14u);
    ASSERT_EQ(kept.size(), whole.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        ASSERT_FALSE(kept[i].isNull()) << i;
        EXPECT_TRUE(kept[i] == whole[i]) << "picture " << i;
    }
}
