#include "MainWindowHarness.h"

#include "app/DeviceCommands.h"
#include "app/HeatmapScale.h"
#include "app/HeatmapView.h"
#include "jobs/DeviceWorker.h"
#include "layout/MainWindowTable.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr int Lowest = 27;   // "3"
constexpr int Highest = 70;  // Space
constexpr int NeverKey = 77; // Pause

QRgb rgbOf(std::uint32_t colour)
{
    return qRgb(int(colour >> 16) & 0xFF, int(colour >> 8) & 0xFF, int(colour) & 0xFF);
}

// A spot of a key cap's face clear of its legend, in client pixels at scale 1.
QPoint faceSpot(int key)
{
    const ButtonRect r = MainWindowTable::build(4)[std::size_t(12 + key)].rect;
    return QPoint(r.left + 10, r.top + 8);
}

bool near(QRgb a, QRgb b, int tolerance = 8)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

bool isGrey(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 0x40
           && std::abs(qRed(pixel) - qBlue(pixel)) < 12;
}

struct HeatmapFixture {
    HeatmapFixture()
        : attached(4)
        , window(attached.state, attached.fonts,
                 positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)))
    {
        // The keyboard's counts: one key never pressed, a clear least and most pressed one.
        quillosim::KeyboardMemory memory = attached.keyboard->memory();
        for (std::uint32_t &count : memory.counters)
            count = 500;
        memory.counters[Lowest - 1] = 7;
        memory.counters[Highest - 1] = 90000;
        memory.counters[NeverKey - 1] = 0;
        attached.keyboard->setMemory(memory);
        skins.load(QCoreApplication::applicationDirPath(), 4);
        window.setSkinLibrary(&skins);
        window.deviceCommands().setWaits({0ms, 0ms, 0ms});
        started = window.initialise();
        window.show();
    }
    ~HeatmapFixture() { window.deviceWorker().wait(); }
    AppState &state() { return attached.state; }

    AttachedKeyboard attached;
    SkinLibrary skins;
    ScriptedMainWindow window;
    bool started = false;
};

} // namespace

TEST(MainWindowHeatmap, TheToggleReadsTheCountersAndTintsEveryKeyByItsCount)
{
    HeatmapFixture f;
    ASSERT_TRUE(f.started);
    f.state().language = "en-US";
    const std::string report = [&] {
        grabWindow(f.window);
        return f.window.reportText();
    }();

    // Without counts the toggle reads them first (GetCounter's own "OK!!").
    f.window.runCommand(HeatmapButton);
    EXPECT_EQ(f.window.messages, std::vector<QString>{"OK!!"});
    ASSERT_TRUE(f.window.heatmap().isOn());
    const QImage on = grabWindow(f.window);
    EXPECT_EQ(on.pixel(faceSpot(Lowest)), rgbOf(HeatmapScale::viridis(0.0)));
    EXPECT_EQ(on.pixel(faceSpot(Highest)), rgbOf(HeatmapScale::viridis(1.0)));
    // Never pressed: neither the scale's darkest colour nor any other of it.
    const QRgb never = on.pixel(faceSpot(NeverKey));
    EXPECT_TRUE(isGrey(never)) << std::hex << never;
    EXPECT_NE(never, rgbOf(HeatmapScale::viridis(0.0)));
    // A count between sits between, on the log scale.
    const HeatmapScale scale = HeatmapScale::of(f.state().pressCounters);
    EXPECT_EQ(on.pixel(faceSpot(1)), rgbOf(scale.colour(500)));

    // The legend's ends are the scale's.
    const ButtonRect &legend = MainWindowTable::HeatmapLegendArea;
    const QRgb start = on.pixel(legend.left + 29, legend.top + 6);
    const QRgb end = on.pixel(legend.right - 3, legend.top + 6);
    EXPECT_TRUE(near(start, rgbOf(HeatmapScale::viridis(0.0)))) << std::hex << start;
    EXPECT_TRUE(near(end, rgbOf(HeatmapScale::viridis(1.0)))) << std::hex << end;

    // The text report stays exactly as it is.
    EXPECT_EQ(f.window.reportText().substr(0, 20), report.substr(0, 20));
    EXPECT_NE(f.window.reportText().find("Highest: Space "), std::string::npos);

    // Off again: the keys show their skins.
    f.window.runCommand(HeatmapButton);
    EXPECT_FALSE(f.window.heatmap().isOn());
    EXPECT_EQ(f.window.messages.size(), 1u);
    const QImage off = grabWindow(f.window);
    EXPECT_GE(imageOfPixel(off.pixel(faceSpot(Highest))), 0);

    // Opening a profile forgets the counters, and the heatmap with them.
    f.window.runCommand(HeatmapButton);
    ASSERT_TRUE(f.window.heatmap().isOn());
    EXPECT_EQ(f.window.messages.size(), 1u); // the counts were there: nothing read again
    QTemporaryDir folder;
    f.window.savePath = folder.filePath("p.pro");
    f.window.runCommand(SaveButton);
    f.window.openProfile(f.window.savePath);
    grabWindow(f.window);
    EXPECT_FALSE(f.window.heatmap().isOn());
}

TEST(MainWindowHeatmap, AFailedCounterReadLeavesItOff)
{
    HeatmapFixture f;
    ASSERT_TRUE(f.started);
    quillosim::SimFaults silent;
    silent.silent = true;
    f.attached.keyboard->setReadWaitLimit(50ms);
    f.attached.keyboard->setFaults(silent);
    f.window.runCommand(HeatmapButton);
    EXPECT_FALSE(f.window.heatmap().isOn());
    ASSERT_EQ(f.window.messages.size(), 1u);
    EXPECT_NE(f.window.messages[0], QStringLiteral("OK!!"));
}
