#pragma once

#include <cstdint>
#include <map>
#include <string>

// Rectangle with exclusive right and bottom edges.
struct ButtonRect {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const ButtonRect &) const = default;
};

// One entry of a skinned dialog's table of drawn buttons and labels. Qt-free: the same data
// drives painting, hit-testing and the skin generator. Texts are UTF-8, colours Windows
// values 0x00BBGGRR.
struct DrawnButton {
    using Texts = std::map<std::string, std::string>; // language tag -> text

    int id = -1; // below 1: an empty slot, never painted or hit
    Texts captions{{"en", "Unused"}};
    Texts tooltips{{"en", "Unused"}};
    ButtonRect rect;
    std::uint32_t textColor = 0xC8C8C8;
    std::uint32_t checkedTextColor = 0xC8C8C8;
    int keyIndex = -1;
    int itemCode = -1;
    bool checked = false;
    bool isLabel = false;
    bool textOnButton = false;
    bool showText = true;
    bool hovered = false;
    std::uint32_t textFormat = 1; // 1 centred, 0 left, 2 right; top aligned
    int fontSize = 13;

    bool isUsed() const { return id >= 1; }
    bool isHittable() const { return id >= 1 && !isLabel; }

    // A language the entry does not carry is added with an empty text.
    const std::string &caption(const std::string &language) { return captions[language]; }
    const std::string &tooltip(const std::string &language) { return tooltips[language]; }

    // Writes the same text under both languages, or one text per language.
    void setCaption(const std::string &zh, const std::string &en)
    {
        captions["zh-CN"] = zh;
        captions["en-US"] = en;
    }
    void setTooltip(const std::string &zh, const std::string &en)
    {
        tooltips["zh-CN"] = zh;
        tooltips["en-US"] = en;
    }
};
