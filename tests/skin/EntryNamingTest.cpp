#include "skin/EntryNaming.h"

#include <gtest/gtest.h>

namespace {

DrawnButton entry(int id, ButtonRect rect, const char *zh, const char *en, bool label = false)
{
    DrawnButton e;
    e.id = id;
    e.rect = rect;
    e.isLabel = label;
    e.setCaption(zh, en);
    return e;
}

} // namespace

TEST(EntryNaming, ButtonsAreNamedByTheTextDrawnOnThem)
{
    ButtonTable table(8);
    // Scale 2: button rectangles are client pixels, labels base pixels.
    table[0] = entry(86, {1500, 184, 1690, 256}, "GetCounter", "读取计数"); // undrawn caption
    table[1] = entry(67, {750, 101, 845, 130}, "读取计数", "ReadCounter", true);
    table[2] = entry(602, {178, 224, 250, 296}, "蓝牙设备2", "Bluetooth device2");
    // A heading over a row of buttons is larger than any of them: it names none.
    table[3] = entry(651, {36, 92, 167, 150}, "按键功能", "Key Function", true);
    // Of two labels in one place the one drawn counts.
    table[4] = entry(104, {86, 408, 330, 476}, "开始录制", "Record");
    table[5] = entry(154, {43, 212, 165, 238}, "开始录制", "Record", true);
    table[5].showText = false;
    table[6] = entry(155, {43, 212, 165, 238}, "停止录制", "Stop Rec", true);

    EXPECT_EQ(EntryNaming::defaultName(table, 0, "en-US", 2.0f), "ReadCounter");
    EXPECT_EQ(EntryNaming::defaultName(table, 0, "zh-CN", 2.0f), "读取计数");
    EXPECT_EQ(EntryNaming::captionLabel(table, 0, "en-US", 2.0f), 1);
    EXPECT_EQ(EntryNaming::defaultName(table, 2, "en-US", 2.0f), "Bluetooth device2");
    EXPECT_EQ(EntryNaming::captionLabel(table, 2, "en-US", 2.0f), -1);
    EXPECT_EQ(EntryNaming::defaultName(table, 4, "en-US", 2.0f), "Stop Rec");
    EXPECT_EQ(EntryNaming::defaultName(table, 3, "zh-CN", 2.0f), "按键功能");

    // A label not shown on the page names nothing.
    const auto notStopLabel = [](const DrawnButton &e) {
        return e.id != 155;
    };
    EXPECT_EQ(EntryNaming::defaultName(table, 4, "en-US", 2.0f, notStopLabel), "Record");

    // Out of range and empty slots have no name; nothing is added to the entries.
    EXPECT_EQ(EntryNaming::defaultName(table, 7, "en-US", 2.0f), "");
    EXPECT_EQ(EntryNaming::defaultName(table, 99, "en-US", 2.0f), "");
    EXPECT_EQ(EntryNaming::defaultName(table, 0, "fr-FR", 2.0f), "");
    EXPECT_EQ(table[0].captions.count("fr-FR"), 0u);
}

TEST(EntryNaming, KeysAreNamedByTheirNameAndPlaceholdersNeverShow)
{
    ButtonTable table(4);
    table[0] = entry(167, {80, 252, 125, 285}, "Win", "Win");
    table[0].keyIndex = 68;
    table[0].setTooltip("LWin", "LWin");
    // The lighting dialogs give the long name in Chinese only.
    table[1] = entry(174, {810, 105, 853, 150}, "PrtScreen", "PrtScreen");
    table[1].keyIndex = 75;
    table[1].tooltips = {{"zh-CN", "PrintScreen"}};
    // Image buttons without a caption are named by a real tooltip only.
    table[2] = entry(87, {1167, 20, 1192, 50}, "", "");
    table[2].setTooltip("帮助", "Help");
    table[3] = entry(89, {332, 9, 355, 45}, "", "");
    table[3].tooltips = {{"zh-CN", "tip"}};

    EXPECT_EQ(EntryNaming::defaultName(table, 0, "en-US", 1.0f), "LWin");
    EXPECT_EQ(EntryNaming::defaultName(table, 1, "en-US", 1.0f), "PrintScreen");
    EXPECT_EQ(EntryNaming::defaultName(table, 2, "en-US", 1.0f), "Help");
    EXPECT_EQ(EntryNaming::defaultName(table, 2, "zh-CN", 1.0f), "帮助");
    EXPECT_EQ(EntryNaming::defaultName(table, 3, "zh-CN", 1.0f), "");
    EXPECT_TRUE(EntryNaming::isPlaceholder("默认提示"));
    EXPECT_FALSE(EntryNaming::isPlaceholder("Tip"));
}
