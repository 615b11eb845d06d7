#include "model/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class KeyCatalogueTest : public ::testing::Test {
protected:
    std::unique_ptr<KeyCatalogue> catalogue = std::make_unique<KeyCatalogue>();
};

} // namespace

TEST_F(KeyCatalogueTest, EveryKeyboardCodeMapsToANamedKeyAndBack)
{
    // Codes 1..107, the functions and the two odd ones all have a key with a name, and that
    // key leads back to the same code.
    std::vector<int> codes;
    for (int code = 1; code <= 175; ++code)
        codes.push_back(code);
    for (int code : {180, 181, 199, 204})
        codes.push_back(code);
    for (int code : codes) {
        const int key = catalogue->keyOfCode(code);
        ASSERT_GT(key, 0) << code;
        EXPECT_EQ(catalogue->codeOfKey(key), code) << code;
        EXPECT_NE(catalogue->nameOfCode(code), KeyCatalogue::NoName) << code;
    }

    EXPECT_EQ(catalogue->nameOfCode(1), "ESC");
    EXPECT_EQ(catalogue->nameOfCode(24), "0");
    EXPECT_EQ(catalogue->nameOfCode(41), "\\");
    EXPECT_EQ(catalogue->nameOfCode(55), "LSHIFT");
    EXPECT_EQ(catalogue->nameOfCode(70), "SPACEBAR");
    EXPECT_EQ(catalogue->nameOfCode(75), "Wake Up");
    EXPECT_EQ(catalogue->nameOfCode(76), "Sleep");
    EXPECT_EQ(catalogue->nameOfCode(77), "Power"); // not the unnamed key 999
    EXPECT_EQ(catalogue->keyOfCode(77), 333);
    EXPECT_EQ(catalogue->nameOfCode(107), "(Enter)");
    EXPECT_EQ(catalogue->keyOfCode(107), 269);
    EXPECT_EQ(catalogue->nameOfCode(125), "WWW Favorities");
    EXPECT_EQ(catalogue->nameOfCode(134), "Mouse Wheel Dn");
    EXPECT_EQ(catalogue->nameOfCode(156), "FN");
    EXPECT_EQ(catalogue->nameOfCode(181), "BTD5");
    EXPECT_EQ(catalogue->nameOfCode(199), "Left Double Click");
    EXPECT_EQ(catalogue->nameOfCode(204), "<>|");
    EXPECT_EQ(catalogue->codeOfKey(999), catalogue->codeOfKey(999 & 0x1FF));
}

TEST_F(KeyCatalogueTest, UnknownKeysAndCodesHaveNoNameAndNoCode)
{
    // Code 0 goes back to key 1023, which masks to an unnamed key.
    EXPECT_EQ(catalogue->keyOfCode(0), 1023);
    EXPECT_EQ(catalogue->nameOfCode(0), KeyCatalogue::NoName);
    for (int code : {176, 179, 182, 198, 200, 203, 205, 255, 1023, 5000, -1})
        EXPECT_EQ(catalogue->nameOfCode(code), KeyCatalogue::NoName) << code;
    EXPECT_EQ(catalogue->keyOfCode(-3), -1);
    EXPECT_EQ(catalogue->codeOfKey(-3), -1);

    // Named keys that are not on the keyboard.
    EXPECT_EQ(catalogue->codeOfKey(124), 0); // F13
    EXPECT_EQ(*catalogue->nameOfKey(124), "F13");
    EXPECT_EQ(catalogue->codeOfKey(95), 0); // the platform's Sleep, not the power function

    // Keys the table leaves out stay out.
    for (int key : {0,   7,   14,  15,  22,  26,  58,  64,  136, 143, 146,  159,  184, 185,
                    193, 218, 227, 228, 233, 245, 255, 432, 435, 511, 1023, 1024, -1})
        EXPECT_EQ(catalogue->nameOfKey(key), nullptr) << key;
}

TEST_F(KeyCatalogueTest, NameTableKeepsTheProgramsOwnWordings)
{
    EXPECT_EQ(*catalogue->nameOfKey(17), "Left CTRL");
    EXPECT_EQ(*catalogue->nameOfKey(21), "IME Hangul mode");
    EXPECT_EQ(*catalogue->nameOfKey(25), "IME Kanji mode");
    EXPECT_EQ(*catalogue->nameOfKey(223),
              "Used for miscellaneous characters; it can vary by keyboard.");
    const std::string packet = *catalogue->nameOfKey(231);
    EXPECT_EQ(packet.size(), 244u);
    EXPECT_EQ(packet.rfind("Used to pass Unicode characters as if they were keystrokes.", 0), 0u);
    EXPECT_EQ(*catalogue->nameOfKey(254), "Clear");
    EXPECT_EQ(*catalogue->nameOfKey(12), "CLEAR");

    // Repeated names resolve to their lowest key.
    EXPECT_EQ(catalogue->keyOfName("Sleep"), 95);
    EXPECT_EQ(catalogue->keyOfName("Reserved"), 10);
    EXPECT_EQ(catalogue->keyOfName("OEM specific"), 225);
    EXPECT_EQ(catalogue->keyOfName("no such key"), -1);
}

TEST_F(KeyCatalogueTest, CategoriesFollowTheCodeRanges)
{
    const std::pair<int, int> expected[] = {
        {0, 0},   {1, 1},   {74, 1},  {75, 8},  {77, 8},  {78, 1},  {107, 1},
        {108, 5}, {125, 5}, {126, 6}, {134, 6}, {135, 7}, {156, 7}, {157, 6},
        {158, 6}, {173, 6}, {198, 7}, {199, 1}, {204, 1}, {255, 1},
    };
    for (const auto &[code, category] : expected)
        EXPECT_EQ(KeyCatalogue::categoryOfCode(code), category) << code;

    EXPECT_STREQ(KeyCatalogue::categoryName(8, true), "电源键");
    EXPECT_STREQ(KeyCatalogue::categoryName(4, false), "Emulation");
    EXPECT_STREQ(KeyCatalogue::categoryName(9, false), "");
    EXPECT_STREQ(KeyCatalogue::categoryName(-1, true), "");
}

TEST_F(KeyCatalogueTest, DefaultsDependOnTheVariant)
{
    // Quillo(S) lacks the wireless and lighting functions on the Fn layer.
    for (int key : {1, 11, 14, 15, 16, 17, 18, 25, 26, 78, 81, 82, 83, 85, 87})
        EXPECT_EQ(KeyCatalogue::defaultCode(3, key, 1), 0) << key;
    EXPECT_EQ(KeyCatalogue::defaultCode(1, 1, 1), 150);
    EXPECT_EQ(KeyCatalogue::defaultCode(2, 11, 1), 0);
    EXPECT_EQ(KeyCatalogue::defaultCode(4, 11, 1), 135);
    // FN on both layers of key 72 everywhere; unknown variants use the first table.
    for (int type : {0, 1, 2, 3, 4, 7}) {
        EXPECT_EQ(KeyCatalogue::defaultCode(type, 72, 0), 156);
        EXPECT_EQ(KeyCatalogue::defaultCode(type, 72, 1), 156);
    }
    EXPECT_EQ(KeyCatalogue::defaultCode(0, 1, 1), KeyCatalogue::defaultCode(1, 1, 1));
    EXPECT_EQ(KeyCatalogue::defaultCode(1, 108, 0), 107);
    EXPECT_EQ(KeyCatalogue::defaultCode(1, 0, 0), 0);
    EXPECT_EQ(KeyCatalogue::defaultCode(1, 109, 0), 0);
    EXPECT_EQ(KeyCatalogue::defaultCode(1, 5, 2), 0);
}
