#include "skin/FocusOrder.h"

#include <gtest/gtest.h>

#include <vector>

using FocusOrder::Direction;

TEST(FocusOrder, ReadsLinesFromTheTopEachFromTheLeft)
{
    // The main window's top: three window buttons, then the tool bar with the taller layer
    // switch at its right end, then the keyboard below.
    const std::vector<ButtonRect> rects{
        {15, 92, 110, 128},    // 0 Save
        {1140, 20, 1165, 50},  // 1 minimise
        {1113, 80, 1163, 135}, // 2 layer switch: begins above Save but reads with the bar
        {120, 92, 215, 128},   // 3 Open
        {1167, 20, 1192, 50},  // 4 help
        {124, 168, 1152, 461}, // 5 the keyboard
        {1194, 20, 1219, 50},  // 6 exit
    };
    EXPECT_EQ(FocusOrder::readingOrder(rects), (std::vector<int>{1, 4, 6, 0, 3, 2, 5}));

    // A tall list beside two rows of buttons takes the rows its top half reaches.
    const std::vector<ButtonRect> page{
        {214, 136, 355, 247}, // 0 list, centre 191
        {43, 204, 165, 238},  // 1 begins below the list's centre: a line of its own
        {380, 138, 521, 190}, // 2 field beside the list
        {358, 137, 373, 233}, // 3 scroll bar
        {43, 242, 165, 278},  // 4
    };
    EXPECT_EQ(FocusOrder::readingOrder(page), (std::vector<int>{0, 3, 2, 1, 4}));
    EXPECT_TRUE(FocusOrder::readingOrder({}).empty());
}

TEST(FocusOrder, ArrowsFindTheNeighbourOnAKeyboard)
{
    const std::vector<ButtonRect> keys{
        {124, 226, 170, 273},   // 0 ~
        {720, 226, 810, 273},   // 1 BackSpace
        {822, 225, 868, 272},   // 2 Insert, a pixel higher
        {745, 273, 810, 320},   // 3 backslash
        {124, 273, 193, 320},   // 4 Tab
        {419, 367, 465, 414},   // 5 B
        {292, 414, 587, 461},   // 6 Space
        {1106, 272, 1152, 366}, // 7 KP+, two rows high
        {1060, 319, 1106, 366}, // 8 KP6, level with KP+'s lower half
        {1060, 272, 1106, 319}, // 9 KP9
        {394, 320, 440, 367},   // 10 G
    };
    EXPECT_EQ(FocusOrder::neighbour(keys, 1, Direction::Right), 2);
    EXPECT_EQ(FocusOrder::neighbour(keys, 2, Direction::Left), 1);
    EXPECT_EQ(FocusOrder::neighbour(keys, 1, Direction::Down), 3);
    EXPECT_EQ(FocusOrder::neighbour(keys, 0, Direction::Down), 4);
    EXPECT_EQ(FocusOrder::neighbour(keys, 4, Direction::Up), 0);
    // Up from the wide Space bar: the key above its middle, not one further up.
    EXPECT_EQ(FocusOrder::neighbour(keys, 6, Direction::Up), 5);
    EXPECT_EQ(FocusOrder::neighbour(keys, 5, Direction::Down), 6);
    // Left from the tall KP+ goes to the key level with its centre.
    EXPECT_EQ(FocusOrder::neighbour(keys, 7, Direction::Left), 9);
    EXPECT_EQ(FocusOrder::neighbour(keys, 8, Direction::Right), 7);
    // Nothing beyond the edges, and no move from nowhere.
    EXPECT_EQ(FocusOrder::neighbour(keys, 0, Direction::Left), -1);
    EXPECT_EQ(FocusOrder::neighbour(keys, 6, Direction::Down), -1);
    EXPECT_EQ(FocusOrder::neighbour(keys, 7, Direction::Right), -1);
    EXPECT_EQ(FocusOrder::neighbour(keys, -1, Direction::Right), -1);
    EXPECT_EQ(FocusOrder::neighbour(keys, 11, Direction::Right), -1);
}

TEST(FocusOrder, OffLineNeighboursCountTheirDistanceAcross)
{
    // Nothing in line to the right: the nearest ahead, the distance across counted double.
    const std::vector<ButtonRect> rects{
        {0, 0, 10, 10},     // 0
        {30, 40, 40, 50},   // 1 ahead 30, across 40
        {100, 12, 110, 22}, // 2 ahead 100, across 12
    };
    EXPECT_EQ(FocusOrder::neighbour(rects, 0, Direction::Right), 2);
    EXPECT_EQ(FocusOrder::neighbour(rects, 1, Direction::Up), 0);

    const std::vector<ButtonRect> all{{5, 5, 10, 10}, {0, 8, 4, 30}};
    EXPECT_EQ(FocusOrder::bounds(all), (ButtonRect{0, 5, 10, 30}));
}
