#include "skin/FocusOrder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace FocusOrder {
namespace {

// Centres doubled, so that they stay whole numbers.
int centreX2(const ButtonRect &r)
{
    return r.left + r.right;
}
int centreY2(const ButtonRect &r)
{
    return r.top + r.bottom;
}

bool readsBefore(const ButtonRect &a, const ButtonRect &b)
{
    return a.top != b.top ? a.top < b.top : a.left < b.left;
}

} // namespace

std::vector<int> readingOrder(std::span<const ButtonRect> rects)
{
    std::vector<int> byTop(rects.size());
    std::iota(byTop.begin(), byTop.end(), 0);
    std::stable_sort(byTop.begin(), byTop.end(), [&](int a, int b) {
        const ButtonRect &ra = rects[std::size_t(a)];
        const ButtonRect &rb = rects[std::size_t(b)];
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    std::vector<int> order;
    order.reserve(rects.size());
    std::size_t start = 0;
    while (start < byTop.size()) {
        const ButtonRect &first = rects[std::size_t(byTop[start])];
        std::size_t end = start + 1;
        while (end < byTop.size() && 2 * rects[std::size_t(byTop[end])].top < centreY2(first))
            ++end;
        std::stable_sort(
            byTop.begin() + std::ptrdiff_t(start), byTop.begin() + std::ptrdiff_t(end),
            [&](int a, int b) { return rects[std::size_t(a)].left < rects[std::size_t(b)].left; });
        order.insert(order.end(), byTop.begin() + std::ptrdiff_t(start),
                     byTop.begin() + std::ptrdiff_t(end));
        start = end;
    }
    return order;
}

int neighbour(std::span<const ButtonRect> rects, int from, Direction direction)
{
    if (from < 0 || std::size_t(from) >= rects.size())
        return -1;
    const ButtonRect &origin = rects[std::size_t(from)];
    const bool horizontal = direction == Direction::Left || direction == Direction::Right;
    const int sign = direction == Direction::Right || direction == Direction::Down ? 1 : -1;
    const int along0 = horizontal ? centreX2(origin) : centreY2(origin);
    const int across0 = horizontal ? centreY2(origin) : centreX2(origin);

    // Tiers: in line, within 45 degrees of the direction, anything else ahead.
    int best = -1;
    int bestTier = 3;
    long bestScore = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (int(i) == from)
            continue;
        const ButtonRect &r = rects[i];
        const long ahead = long(sign) * ((horizontal ? centreX2(r) : centreY2(r)) - along0);
        if (ahead <= 0)
            continue;
        const int low = horizontal ? r.top : r.left;
        const int high = horizontal ? r.bottom : r.right;
        // Edges count, so that a key level with the border of two others reaches both.
        const bool inLine = 2 * low <= across0 && across0 <= 2 * high;
        const long across = std::labs(long((horizontal ? centreY2(r) : centreX2(r)) - across0));
        const int tier = inLine ? 0 : (across <= ahead ? 1 : 2);
        const long score = inLine ? ahead : ahead + 2 * across;
        // Of equals, the one read first (the upper, then the left).
        const bool better = tier < bestTier || (tier == bestTier && score < bestScore)
                            || (tier == bestTier && score == bestScore && best >= 0
                                && readsBefore(r, rects[std::size_t(best)]));
        if (better) {
            best = int(i);
            bestTier = tier;
            bestScore = score;
        }
    }
    return best;
}

ButtonRect bounds(std::span<const ButtonRect> rects)
{
    if (rects.empty())
        return {};
    ButtonRect all = rects.front();
    for (const ButtonRect &r : rects) {
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.right = std::max(all.right, r.right);
        all.bottom = std::max(all.bottom, r.bottom);
    }
    return all;
}

} // namespace FocusOrder
