#include "layout/CaptionPlace.h"

#include <algorithm>
#include <cstdlib>

namespace CaptionPlace {
namespace {

// A label may stand out of its button by this much on any side (the lighting dialogs' labels
// are shifted a little to the right of their buttons).
constexpr int Overhang = 5;

bool liesOver(const ButtonRect &label, const ButtonRect &button)
{
    return label.left >= button.left - Overhang && label.right <= button.right + Overhang
           && label.top >= button.top - Overhang && label.bottom <= button.bottom + Overhang;
}

} // namespace

int buttonOf(std::span<const DrawnButton> table, std::size_t index)
{
    if (index >= table.size())
        return -1;
    const DrawnButton &label = table[index];
    // Left or right aligned labels stand beside something (a radio, a list), not on it.
    if (!label.isUsed() || !label.isLabel || !(label.textFormat & 1))
        return -1;
    // The nearest button around it: a paged dialog's other pages may have buttons there too
    // (list rows draw their own texts and carry no label).
    int found = -1;
    int nearest = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DrawnButton &button = table[i];
        if (!button.isHittable() || button.textOnButton || !liesOver(label.rect, button.rect))
            continue;
        const int distance = std::abs(label.rect.left - button.rect.left)
                             + std::abs(label.rect.right - button.rect.right)
                             + std::abs(label.rect.top - button.rect.top)
                             + std::abs(label.rect.bottom - button.rect.bottom);
        if (found < 0 || distance < nearest) {
            found = int(i);
            nearest = distance;
        }
    }
    return found;
}

ButtonRect of(std::span<const DrawnButton> table, std::size_t index)
{
    if (index >= table.size())
        return {};
    ButtonRect place = table[index].rect;
    const int button = buttonOf(table, index);
    if (button < 0)
        return place;
    const ButtonRect &around = table[std::size_t(button)].rect;
    place.left = std::max(place.left, around.left + RimClearance);
    place.right = std::min(place.right, around.right - RimClearance);
    return place; // the tables place the words in height
}

} // namespace CaptionPlace
