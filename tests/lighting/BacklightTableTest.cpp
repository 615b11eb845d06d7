#include "layout/BacklightTable.h"
#include "layout/ButtonTable.h"
#include "layout/MultiKeyTable.h"
#include "lighting/KeyFrame.h"

#include <gtest/gtest.h>

#include <set>

namespace {

ButtonRect unionOf(const std::array<ButtonRect, 4> &bars)
{
    ButtonRect r = bars[0];
    for (const ButtonRect &b : bars) {
        r.left = std::min(r.left, b.left);
        r.top = std::min(r.top, b.top);
        r.right = std::max(r.right, b.right);
        r.bottom = std::max(r.bottom, b.bottom);
    }
    return r;
}

bool overlaps(const ButtonRect &a, const ButtonRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

// The tables as both dialogs and the skin generator read them: slots, ids, rectangles and the
// keys shared by the two dialogs.
TEST(BacklightTable, EntriesSlotsAndKeys)
{
    const std::vector<DrawnButton> table = BacklightTable::build();
    ASSERT_EQ(table.size(), 126u);
    const int ids[8] = {88, 89, 90, 91, 92, 94, 95, 97};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(table[i].id, ids[i]);
        EXPECT_FALSE(table[i].isLabel);
        EXPECT_EQ(table[8 + i].id, ids[i]);
        EXPECT_TRUE(table[8 + i].isLabel);
        EXPECT_EQ(table[i].tooltips.at("zh-CN"), "tip");
    }
    EXPECT_EQ(table[0].rect, (ButtonRect{1218, 12, 1238, 37}));
    EXPECT_EQ(table[8].captions.at("en-US"), "BackLight Settings");
    EXPECT_EQ(table[13].captions.at("zh-CN"), "确定");
    // The image button says "MultiKey", its label "Multi Key".
    EXPECT_EQ(table[7].captions.at("en-US"), "MultiKey");
    EXPECT_EQ(table[15].captions.at("en-US"), "Multi Key");
    EXPECT_EQ(table[15].rect, (ButtonRect{424, 428, 506, 454}));

    // Keys 1..89 in slots 16..104, a gap, keys 90..108 in 106..124, the last slot empty.
    for (int key = 1; key <= 108; ++key) {
        const std::size_t slot = 15 + std::size_t(key) + (key > 89 ? 1 : 0);
        EXPECT_EQ(table[slot].keyIndex, key);
        EXPECT_EQ(table[slot].id, 99 + key);
        EXPECT_FALSE(table[slot].isLabel);
        EXPECT_EQ(table[slot].rect, BacklightTable::keyRect(key));
    }
    EXPECT_FALSE(table[105].isUsed());
    EXPECT_FALSE(table[125].isUsed());
    // The tall keypad keys and Space, and names that differ from the legends.
    EXPECT_EQ(BacklightTable::keyRect(99), (ButtonRect{1097, 208, 1140, 298}));
    EXPECT_EQ(BacklightTable::keyRect(108), (ButtonRect{1097, 302, 1140, 392}));
    EXPECT_EQ(BacklightTable::keyRect(70), (ButtonRect{284, 349, 573, 395}));
    EXPECT_EQ(BacklightTable::keyRect(86), (ButtonRect{857, 349, 900, 394}));
    EXPECT_EQ(BacklightTable::keyRect(0), ButtonRect{});
    EXPECT_EQ(BacklightTable::keyRect(109), ButtonRect{});
    const std::size_t win = 15 + 68;
    EXPECT_EQ(table[win].captions.at("en-US"), "Win");
    EXPECT_EQ(table[win].tooltips.at("zh-CN"), "LWin");
    EXPECT_EQ(table[15 + 75].tooltips.at("zh-CN"), "PrintScreen");
    EXPECT_EQ(table[15 + 1].tooltips.at("zh-CN"), "Esc");

    // No two keys share a pixel, and every key lies within the layout's reach.
    for (int a = 1; a <= 108; ++a) {
        const ButtonRect r = BacklightTable::keyRect(a);
        EXPECT_LE(r.right, 1238);
        EXPECT_LE(r.bottom, 454);
        for (int b = a + 1; b <= 108; ++b)
            EXPECT_FALSE(overlaps(r, BacklightTable::keyRect(b))) << a << " " << b;
    }

    const std::vector<DrawnButton> multi = MultiKeyTable::build();
    ASSERT_EQ(multi.size(), 114u);
    EXPECT_EQ(multi[0].id, 88);
    EXPECT_FALSE(multi[0].isLabel);
    EXPECT_EQ(multi[1].rect, (ButtonRect{570, 46, 682, 80}));
    EXPECT_EQ(multi[2].captions.at("en-US"), "Set Multi Key");
    EXPECT_TRUE(multi[2].isLabel);
    EXPECT_EQ(multi[3].captions.at("zh-CN"), "设置");
    EXPECT_TRUE(multi[3].isLabel);
    // The same keys, twelve slots earlier.
    for (std::size_t slot = 16; slot < 126; ++slot) {
        EXPECT_EQ(multi[slot - 12].id, table[slot].id);
        EXPECT_EQ(multi[slot - 12].keyIndex, table[slot].keyIndex);
        EXPECT_EQ(multi[slot - 12].rect, table[slot].rect);
    }
}

// The frame lies just outside its key: two base pixels wide at scale 1, and at every scale
// clear of the rectangle that the highlight copy takes back from client pixels.
TEST(BacklightTable, KeyFramesSurroundTheirKeys)
{
    const ButtonRect esc = BacklightTable::keyRect(1);
    const auto at1 = KeyFrame::bars(esc, 1.0f);
    EXPECT_EQ(at1[0], (ButtonRect{111, 103, 113, 152}));
    EXPECT_EQ(at1[1], (ButtonRect{157, 103, 159, 152}));
    EXPECT_EQ(at1[2], (ButtonRect{113, 103, 157, 105}));
    EXPECT_EQ(at1[3], (ButtonRect{113, 150, 157, 152}));
    // Neighbours 4 pixels apart: their frames fill the gap exactly.
    const auto f1 = KeyFrame::bars(BacklightTable::keyRect(2), 1.0f);
    const auto f2 = KeyFrame::bars(BacklightTable::keyRect(3), 1.0f);
    EXPECT_EQ(f1[1].right, f2[0].left);

    // At 1.5 the key's client rectangle is (169, 157, 235, 225): each edge divided back in
    // floating point, two added or taken, truncated at the end.
    const ButtonRect client = ButtonTable::toClient(esc, 1.5f);
    const auto at15 = KeyFrame::bars(client, 1.5f);
    EXPECT_EQ(at15[0], (ButtonRect{110, 102, 112, 152}));
    EXPECT_EQ(at15[1], (ButtonRect{156, 102, 158, 152}));

    for (float scale : {1.0f, 1.25f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 5.0f, 5.55f}) {
        for (int key = 1; key <= 108; ++key) {
            const ButtonRect c = ButtonTable::toClient(BacklightTable::keyRect(key), scale);
            const ButtonRect copied = ButtonTable::toBase(c, scale);
            const auto bars = KeyFrame::bars(c, scale);
            for (const ButtonRect &bar : bars) {
                EXPECT_GT(bar.width(), 0) << key << " at " << scale;
                EXPECT_GT(bar.height(), 0) << key << " at " << scale;
                EXPECT_FALSE(overlaps(bar, copied)) << key << " at " << scale;
            }
            // About two pixels wide on every side, never more than three.
            const ButtonRect all = unionOf(bars);
            EXPECT_LE(copied.left - all.left, 3);
            EXPECT_LE(all.right - (copied.left + copied.width()), 3);
        }
    }
}
