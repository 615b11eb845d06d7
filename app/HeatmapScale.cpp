#include "app/HeatmapScale.h"

#include "model/Configuration.h"
#include "model/PressCounters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Viridis at 16 even steps; between them the map is close enough to linear in RGB.
constexpr std::array<std::uint32_t, 16> ViridisSteps = {
    0x440154, 0x481a6c, 0x472f7d, 0x414487, 0x39568c, 0x31688e, 0x2a788e, 0x23888e,
    0x1f988b, 0x22a884, 0x35b779, 0x54c568, 0x7ad151, 0xa5db36, 0xd2e21b, 0xfde725,
};

int channel(std::uint32_t colour, int shift)
{
    return int((colour >> shift) & 0xFF);
}

} // namespace

HeatmapScale HeatmapScale::of(const PressCounters &counters)
{
    HeatmapScale scale;
    for (int key = 1; key <= Configuration::KeyCount; ++key) {
        const int count = counters.counts[std::size_t(key)];
        if (count < 0)
            continue;
        scale.m_read = true;
        if (count == 0)
            continue;
        scale.m_lowest = scale.m_lowest == 0 ? count : std::min(scale.m_lowest, count);
        scale.m_highest = std::max(scale.m_highest, count);
    }
    return scale;
}

HeatmapScale::Look HeatmapScale::lookOf(int count) const
{
    if (count < 0)
        return Look::NotRead;
    return count == 0 ? Look::Never : Look::Counted;
}

double HeatmapScale::position(int count) const
{
    if (count <= 0 || m_highest <= 0)
        return 0.0;
    // All pressed alike: every one of them is the most pressed.
    if (m_highest == m_lowest)
        return 1.0;
    const double span = std::log(double(m_highest)) - std::log(double(m_lowest));
    return std::clamp((std::log(double(count)) - std::log(double(m_lowest))) / span, 0.0, 1.0);
}

std::uint32_t HeatmapScale::colour(int count) const
{
    return viridis(position(count));
}

std::uint32_t HeatmapScale::viridis(double t)
{
    if (!(t > 0.0)) // also NaN
        return ViridisSteps.front();
    if (t >= 1.0)
        return ViridisSteps.back();
    const double at = t * double(ViridisSteps.size() - 1);
    const auto step = std::size_t(at);
    const double f = at - double(step);
    const std::uint32_t a = ViridisSteps[step];
    const std::uint32_t b = ViridisSteps[step + 1];
    std::uint32_t result = 0;
    for (int shift : {16, 8, 0}) {
        const double value = channel(a, shift) + (channel(b, shift) - channel(a, shift)) * f;
        result |= std::uint32_t(std::lround(value)) << shift;
    }
    return result;
}
