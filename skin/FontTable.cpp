#include "skin/FontTable.h"

#include <algorithm>

FontTable::FontTable()
{
    for (int n = 1; n < Count; ++n)
        m_fonts[std::size_t(n)].setPixelSize(n);
}

const QFont &FontTable::font(int n) const
{
    return m_fonts[std::size_t(std::clamp(n, 0, Count - 1))];
}
