#include "app/MainWindowLegend.h"

#include "layout/DrawnButton.h"
#include "layout/MainWindowTable.h"
#include "skin/FontTable.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Flags = Qt::AlignLeft | Qt::AlignTop;

int textWidth(const QFont &font, const QString &text)
{
    // As the caption fit measures it, so that a name fits the place made for it.
    return QFontMetrics(font).boundingRect(QRect(0, 0, 4096, 64), Flags, text).width();
}

} // namespace

std::vector<MainWindowLegend::Item> MainWindowLegend::layout(std::span<const DrawnButton> table,
                                                             const std::string &language,
                                                             const FontTable &fonts)
{
    std::vector<Item> items;
    for (int id = FirstLegendLabel; id <= LastLegendLabel; ++id) {
        const auto label = std::find_if(table.begin(), table.end(), [id](const DrawnButton &e) {
            return e.id == id && e.isLabel;
        });
        if (label == table.end())
            continue;
        const auto caption = label->captions.find(language);
        Item item{id, {}, {}, fonts.font(label->fontSize), {}};
        if (caption != label->captions.end())
            item.text = QString::fromStdString(caption->second);
        items.push_back(item);
    }
    if (items.empty())
        return items;

    const ButtonRect &area = MainWindowTable::LegendArea;
    const int count = int(items.size());
    const int fixed
        = count * (MainWindowTable::LegendBarWidth + BarGap) + (count - 1) * SmallestSpace;
    // One size for all names: the largest at which the row holds them.
    const int size = items.front().font.pixelSize();
    const int smallest = std::max(7, (size * 2 + 2) / 3);
    std::vector<int> widths(items.size());
    for (int pixels = size;; --pixels) {
        int total = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            items[i].font.setPixelSize(pixels);
            widths[i] = textWidth(items[i].font, items[i].text);
            total += widths[i];
        }
        if (fixed + total <= area.width())
            break;
        if (pixels <= smallest) {
            // Even the smallest size is too wide: every name gets an equal share.
            const int share = std::max(1, (area.width() - fixed) / count);
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (widths[i] <= share)
                    continue;
                items[i].text
                    = QFontMetrics(items[i].font).elidedText(items[i].text, Qt::ElideRight, share);
                widths[i] = textWidth(items[i].font, items[i].text);
            }
            break;
        }
    }

    int total = 0;
    for (int width : widths)
        total += width + MainWindowTable::LegendBarWidth + BarGap;
    const double space = count > 1 ? double(area.width() - total) / (count - 1) : 0.0;
    double x = area.left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int left = int(std::lround(x));
        items[i].bar = QRect(left, area.top + MainWindowTable::LegendBarTop,
                             MainWindowTable::LegendBarWidth, MainWindowTable::LegendBarHeight);
        items[i].word = QRect(left + MainWindowTable::LegendBarWidth + BarGap, area.top, widths[i],
                              area.height());
        x += MainWindowTable::LegendBarWidth + BarGap + widths[i] + space;
    }
    return items;
}

void MainWindowLegend::refresh(std::span<const DrawnButton> table, const std::string &language,
                               const FontTable &fonts)
{
    if (!m_items.empty() && language == m_language)
        return;
    m_items = layout(table, language, fonts);
    m_language = language;
}

const MainWindowLegend::Item *MainWindowLegend::itemOf(const DrawnButton &entry) const
{
    if (!entry.isLabel)
        return nullptr;
    for (const Item &item : m_items) {
        if (item.labelId == entry.id)
            return &item;
    }
    return nullptr;
}
