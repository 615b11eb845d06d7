#pragma once

#include <cstdint>

struct PressCounters;

// How the press-count heatmap colours a key: counts of 1 or more on a perceptual scale
// (viridis) from the least to the most pressed key, logarithmic because a few keys (Space,
// E) are pressed hundreds of times as often as the rarest; keys pressed 0 times and keys
// without a count have looks of their own, never a colour of the scale.
class HeatmapScale {
public:
    enum class Look { NotRead, Never, Counted };

    // The scale of counters as read; without any count of 1 or more it holds no colours.
    static HeatmapScale of(const PressCounters &counters);

    // Whether any key has a count: the counters have been read.
    bool isRead() const { return m_read; }
    int lowest() const { return m_lowest; }   // least count of 1 or more, 0 when none
    int highest() const { return m_highest; } // 0 when no key was pressed

    Look lookOf(int count) const;
    // 0 for the least pressed key, 1 for the most pressed; counts between on a log scale.
    double position(int count) const;
    // Colour of a count of 1 or more, 0xRRGGBB.
    std::uint32_t colour(int count) const;

    // The colour map itself at 0..1 (clamped), 0xRRGGBB.
    static std::uint32_t viridis(double t);

private:
    bool m_read = false;
    int m_lowest = 0;
    int m_highest = 0;
};
