#pragma once

#include "profile/FileStore.h"

#include <string>

struct PressCounters;

// The press-count heatmap as a PNG file, drawn as the main window draws it, without a display.
namespace HeatmapFile {

// Device pixels per base pixel of the picture.
constexpr double Scale = 2.0;

// Written as profiles are: the whole picture or nothing, only over a regular file; false with
// the reason in `failure`.
bool write(const PressCounters &counters, int deviceType, const std::string &path,
           FileStore::WriteFailure &failure);

} // namespace HeatmapFile
