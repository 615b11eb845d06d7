#include "layout/ButtonTable.h"

#include "layout/CaptionPlace.h"
#include "layout/ScaleFactor.h"

ButtonTable::ButtonTable(std::size_t size)
    : m_entries(size)
{}

bool ButtonTable::assign(const std::vector<DrawnButton> &entries)
{
    const std::size_t count = entries.size() < m_entries.size() ? entries.size() : m_entries.size();
    m_captionPlaces.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i] = i < count ? entries[i] : DrawnButton{};
    return entries.size() <= m_entries.size();
}

int ButtonTable::firstHit(int x, int y, const EntryFilter &shown) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const DrawnButton &entry = m_entries[i];
        if (entry.isHittable() && entry.rect.contains(x, y) && (!shown || shown(entry)))
            return int(i);
    }
    return -1;
}

int ButtonTable::indexOfId(int id) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return int(i);
    }
    return -1;
}

int ButtonTable::indexOfKey(int keyIndex) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].keyIndex == keyIndex)
            return int(i);
    }
    return -1;
}

void ButtonTable::scaleToClient(float scale)
{
    // Captions are laid out in base pixels, from the rectangles as they are written, not from
    // the truncated ones scaling leaves.
    m_captionPlaces.resize(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_captionPlaces[i] = CaptionPlace::of(m_entries, i);
    for (DrawnButton &entry : m_entries) {
        if (!entry.isLabel)
            entry.rect = toClient(entry.rect, scale);
    }
}

ButtonRect ButtonTable::captionPlace(std::size_t index) const
{
    if (index < m_captionPlaces.size())
        return m_captionPlaces[index];
    return CaptionPlace::of(m_entries, index);
}

ButtonRect ButtonTable::toClient(const ButtonRect &base, float scale)
{
    return {scaledPixels(base.left, scale), scaledPixels(base.top, scale),
            scaledPixels(base.right, scale), scaledPixels(base.bottom, scale)};
}

ButtonRect ButtonTable::toBase(const ButtonRect &client, float scale)
{
    const int left = unscaledPixels(client.left, scale);
    const int top = unscaledPixels(client.top, scale);
    return {left, top, left + unscaledPixels(client.width(), scale),
            top + unscaledPixels(client.height(), scale)};
}

std::vector<ButtonRect> ButtonTable::updateHover(int x, int y, const EntryFilter &shown)
{
    std::vector<ButtonRect> changed;
    for (DrawnButton &entry : m_entries) {
        if (!entry.isHittable())
            continue;
        const bool inside = entry.rect.contains(x, y) && (!shown || shown(entry));
        if (inside != entry.hovered) {
            entry.hovered = inside;
            changed.push_back(entry.rect);
        }
    }
    return changed;
}

FrameHitCode ButtonTable::frameHitCode(bool overButton, int x, int y, int width, int height)
{
    if (overButton)
        return HitClient;
    const bool right = x > width - 6;
    const bool bottom = y > height - 6;
    if (right && bottom)
        return HitBottomRight;
    if (right)
        return HitRight;
    if (bottom)
        return HitBottom;
    return HitCaption;
}
