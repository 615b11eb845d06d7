#pragma once

#include <string>

struct PressCounters;

// The press-count heatmap as a PNG file, drawn as the main window draws it, without a display.
namespace HeatmapFile {

// Device pixels per base pixel of the picture.
constexpr double Scale = 2.0;

bool write(const PressCounters &counters, int deviceType, const std::string &path);

} // namespace HeatmapFile
