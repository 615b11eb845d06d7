#pragma once

#include <QFont>

#include <array>

// The 50 fonts every drawn window uses: font n has a character height of n pixels in the
// default family, Chinese characters in the Chinese face (font 0 is the default font itself).
// Built once after the application object.
class FontTable {
public:
    static constexpr int Count = 50;

    FontTable();

    // Indices outside 0..49 get the nearest font.
    const QFont &font(int n) const;

private:
    std::array<QFont, Count> m_fonts;
};
