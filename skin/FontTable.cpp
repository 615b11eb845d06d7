#include "skin/FontTable.h"

#include "skin/ChineseFont.h"

#include <algorithm>

FontTable::FontTable()
{
    // The default face for Latin text, the Chinese face for Chinese characters.
    const QFont base = ChineseFont::withChinese(QFont());
    m_fonts.fill(base);
    for (int n = 1; n < Count; ++n)
        m_fonts[std::size_t(n)].setPixelSize(n);
}

const QFont &FontTable::font(int n) const
{
    return m_fonts[std::size_t(std::clamp(n, 0, Count - 1))];
}
