#include "app/MainWindowLegend.h"
#include "app/SearchingDialog.h"
#include "layout/BacklightTable.h"
#include "layout/ButtonTable.h"
#include "layout/CaptionPlace.h"
#include "layout/FirmwareUpdateTable.h"
#include "layout/KeySettingsTable.h"
#include "layout/MainWindowTable.h"
#include "layout/MultiKeyTable.h"
#include "layout/ProgressTable.h"
#include "layout/VirtualKeyboardTable.h"
#include "skin/CaptionFit.h"
#include "skin/FontTable.h"
#include "skin/SkinnedDialog.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A face draws a button's rim up to 3 base pixels in from the button's edge; its words keep
// 2 pixels clear of it.
constexpr int Rim = 5;

QRect onFace(const ButtonRect &r, float scale)
{
    return QRectF(r.left * scale, r.top * scale, r.width() * scale, r.height() * scale)
        .toAlignedRect();
}

bool isLegendLabel(const DrawnButton &entry)
{
    return entry.isLabel && entry.id >= FirstLegendLabel && entry.id <= LastLegendLabel;
}

} // namespace

// Every caption a window draws from its table stays inside what it belongs to, at its full
// wording: a button's words clear of the button's rim, a label's within its rectangle. In both
// languages, at scale 1 and 1.5, laid out as the windows lay them out: the virtual keyboard
// over its stretched face at the screen's resolution, the others on the base-size face that is
// then stretched.
TEST(WindowCaptions, StayInsideTheirButtonsInEveryWindow)
{
    struct Window {
        const char *name;
        std::vector<DrawnButton> (*build)(int variant);
        int variants;
        bool atScreenResolution;
        bool paged; // by hundreds of ids, as the key settings dialog shows its pages
    };
    const Window windows[] = {
        {"main window", MainWindowTable::build, 4, false, false},
        {"key settings", KeySettingsTable::build, 4, false, true},
        {"virtual keyboard", [](int) { return VirtualKeyboardTable::build(); }, 1, true, false},
        {"backlight", [](int) { return BacklightTable::build(); }, 1, false, false},
        {"multi-key", [](int) { return MultiKeyTable::build(); }, 1, false, false},
        {"firmware update", [](int) { return FirmwareUpdateTable::build(); }, 1, false, false},
        {"progress", [](int) { return ProgressTable::build(); }, 1, false, false},
        {"looking for a keyboard", [](int) { return SearchingDialog::entries(); }, 1, false, false},
    };
    const FontTable fonts;
    int checked = 0;
    for (const Window &window : windows) {
        for (int variant = 1; variant <= window.variants; ++variant) {
            const std::vector<DrawnButton> entries = window.build(variant);
            for (const float scale : {1.0f, 1.5f}) {
                ButtonTable table(entries.size());
                table.assign(entries);
                table.scaleToClient(scale); // as every window does before it paints
                const float drawn = window.atScreenResolution ? scale : 1.0f;
                for (const char *language : {"zh-CN", "en-US"}) {
                    for (std::size_t i = 0; i < entries.size(); ++i) {
                        const DrawnButton &entry = entries[i];
                        if (!entry.isUsed() || !entry.isLabel || isLegendLabel(entry))
                            continue;
                        const auto caption = entry.captions.find(language);
                        if (caption == entry.captions.end() || caption->second.empty())
                            continue;
                        const QString text = QString::fromStdString(caption->second);
                        SCOPED_TRACE(testing::Message()
                                     << window.name << ", variant " << variant << ", scale "
                                     << scale << ": " << caption->second);
                        const int button = CaptionPlace::buttonOf(entries, i);
                        // A centred label on a button is taken for its text, however the two
                        // rectangles are placed (list rows draw their own texts).
                        const auto together = [&](const DrawnButton &other) {
                            const int page = KeySettingsTable::pageOfId(entry.id);
                            const int its = KeySettingsTable::pageOfId(other.id);
                            return !window.paged || page == 0 || its == 0 || page == its;
                        };
                        for (const DrawnButton &other : entries) {
                            if ((entry.textFormat & 1) && other.isHittable() && !other.textOnButton
                                && together(other)
                                && other.rect.contains(entry.rect.left + entry.rect.width() / 2,
                                                       entry.rect.top + entry.rect.height() / 2)
                                && other.rect.width() >= entry.rect.width() / 2) {
                                EXPECT_GE(button, 0) << "over button " << other.id;
                            }
                        }

                        // The tables place the words in height; the button only narrows them.
                        EXPECT_EQ(table.captionPlace(i).top, entry.rect.top);
                        EXPECT_EQ(table.captionPlace(i).bottom, entry.rect.bottom);
                        const QRect place = onFace(table.captionPlace(i), drawn);
                        QFont font = fonts.font(entry.fontSize);
                        if (window.atScreenResolution)
                            font.setPixelSize(int(std::lround(entry.fontSize * scale)));
                        const int flags = SkinnedDialog::textFlags(entry.textFormat);
                        const CaptionFit::Fit fit = CaptionFit::fit(font, place, flags, text);
                        EXPECT_EQ(fit.text, text); // smaller, never cut short
                        const QRect ink
                            = QFontMetrics(fit.font).boundingRect(place, flags, fit.text);
                        QRect allowed = onFace(entry.rect, drawn);
                        if (button >= 0) {
                            const ButtonRect &b = entries[std::size_t(button)].rect;
                            allowed = onFace({b.left + Rim, b.top, b.right - Rim, b.bottom}, drawn);
                        }
                        EXPECT_GE(ink.left(), allowed.left());
                        EXPECT_LE(ink.right(), allowed.right());
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 500);
}

// The legend's names stand evenly apart, each after its bar, in one size, in both languages,
// and the row keeps to its place under the keyboard.
TEST(WindowCaptions, LegendSpacesItsCategoriesEvenly)
{
    const FontTable fonts;
    const ButtonRect &area = MainWindowTable::LegendArea;
    for (const char *language : {"zh-CN", "en-US"}) {
        SCOPED_TRACE(language);
        const std::vector<DrawnButton> table = MainWindowTable::build(4);
        const std::vector<MainWindowLegend::Item> items
            = MainWindowLegend::layout(table, language, fonts);
        ASSERT_EQ(items.size(), 7u);
        std::vector<int> spaces;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const MainWindowLegend::Item &item = items[i];
            EXPECT_EQ(item.labelId, FirstLegendLabel + int(i));
            const DrawnButton &label
                = table[std::size_t(MainWindowTable::indexOf(table, item.labelId))];
            const QString text = QString::fromStdString(label.captions.at(language));
            // The window draws the name into its place as every caption is drawn.
            const CaptionFit::Fit fit
                = CaptionFit::fit(fonts.font(label.fontSize), item.word,
                                  SkinnedDialog::textFlags(label.textFormat), text);
            EXPECT_EQ(fit.text, text);
            EXPECT_EQ(fit.font.pixelSize(), MainWindowTable::LegendFontSize);
            const int end = item.word.left() + QFontMetrics(fit.font).horizontalAdvance(text);
            EXPECT_LE(end, item.word.left() + item.word.width());
            EXPECT_EQ(item.bar.width(), MainWindowTable::LegendBarWidth);
            EXPECT_EQ(item.word.left() - (item.bar.left() + item.bar.width()),
                      MainWindowLegend::BarGap);
            if (i + 1 < items.size())
                spaces.push_back(items[i + 1].bar.left() - (item.word.left() + item.word.width()));
        }
        EXPECT_EQ(items.front().bar.left(), area.left);
        EXPECT_LE(items.back().word.left() + items.back().word.width(), area.right);
        const auto [least, most] = std::minmax_element(spaces.begin(), spaces.end());
        EXPECT_GE(*least, MainWindowLegend::SmallestSpace);
        EXPECT_LE(*most - *least, 1); // rounding only
    }
}
