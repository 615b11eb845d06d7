#include "skin/EntryNaming.h"

#include <array>

namespace EntryNaming {

const std::string &textOf(const DrawnButton::Texts &texts, const std::string &language)
{
    static const std::string none;
    const auto found = texts.find(language);
    return found == texts.end() ? none : found->second;
}

bool isPlaceholder(const std::string &text)
{
    static const std::array<std::string, 3> placeholders{"tip", "默认提示", "Unused"};
    for (const std::string &placeholder : placeholders) {
        if (text == placeholder)
            return true;
    }
    return false;
}

int captionLabel(const ButtonTable &table, int button, const std::string &language, float scale,
                 const ButtonTable::EntryFilter &shown)
{
    if (button < 0 || std::size_t(button) >= table.size())
        return -1;
    const DrawnButton &entry = table[std::size_t(button)];
    if (!entry.isHittable())
        return -1;
    const ButtonRect base = ButtonTable::toBase(entry.rect, scale);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DrawnButton &label = table[i];
        if (!label.isUsed() || !label.isLabel || !label.showText || (shown && !shown(label))
            || textOf(label.captions, language).empty())
            continue;
        // Centres doubled, so that a label one pixel wide still has a whole one.
        const int x2 = label.rect.left + label.rect.right;
        const int y2 = label.rect.top + label.rect.bottom;
        const bool centred = 2 * base.left <= x2 && x2 < 2 * base.right && 2 * base.top <= y2
                             && y2 < 2 * base.bottom;
        // A heading over a group of buttons is no button's text.
        const bool fits = 2 * label.rect.width() <= 3 * base.width()
                          && 2 * label.rect.height() <= 3 * base.height();
        if (centred && fits)
            return int(i);
    }
    return -1;
}

std::string defaultName(const ButtonTable &table, int index, const std::string &language,
                        float scale, const ButtonTable::EntryFilter &shown)
{
    if (index < 0 || std::size_t(index) >= table.size())
        return {};
    const DrawnButton &entry = table[std::size_t(index)];
    if (!entry.isUsed())
        return {};
    const std::string &caption = textOf(entry.captions, language);
    if (entry.isLabel)
        return caption;
    const auto realTip = [&](const std::string &tag) {
        const std::string &tip = textOf(entry.tooltips, tag);
        return isPlaceholder(tip) ? std::string() : tip;
    };
    if (entry.keyIndex > 0) {
        // Key names are the same words in both languages; some tables give only one.
        for (const std::string &tag : {language, std::string("zh-CN"), std::string("en-US")}) {
            if (std::string tip = realTip(tag); !tip.empty())
                return tip;
        }
        return caption;
    }
    const int label = captionLabel(table, index, language, scale, shown);
    if (label >= 0)
        return textOf(table[std::size_t(label)].captions, language);
    if (!caption.empty())
        return caption;
    return realTip(language);
}

} // namespace EntryNaming
