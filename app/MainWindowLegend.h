#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <span>
#include <string>
#include <vector>

class FontTable;
struct DrawnButton;

// The legend under the keyboard: for each category from Combo to Power a bar in its colour
// and then its name. The names are measured in the window's own font, so that every pair of
// neighbours stands the same distance apart whatever the language or the system's font; the
// row spans the legend's area.
class MainWindowLegend {
public:
    // Base pixels between a bar and its name, and at least between neighbours.
    static constexpr int BarGap = 4;
    static constexpr int SmallestSpace = 12;

    struct Item {
        int labelId;
        QRect bar;  // base pixels
        QRect word; // base pixels, where the name is drawn (left aligned) at `font`
        QFont font;
        QString text; // the name, elided only when the row cannot hold the names at any size
    };

    // The items in the order of the categories, from the legend labels of `table` (only their
    // captions and font size count).
    static std::vector<Item> layout(std::span<const DrawnButton> table, const std::string &language,
                                    const FontTable &fonts);

    // Lays the legend out again when the language changed since the last time.
    void refresh(std::span<const DrawnButton> table, const std::string &language,
                 const FontTable &fonts);
    // The item of a legend label; null for other entries.
    const Item *itemOf(const DrawnButton &entry) const;

private:
    std::vector<Item> m_items;
    std::string m_language;
};
