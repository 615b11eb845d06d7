#pragma once

#include "layout/DrawnButton.h"

#include <cstdint>
#include <vector>

// Command ids of the main window's drawn buttons and labels.
enum MainButtonId : int {
    LanguageButton = 85,
    GetCounterButton = 86,
    HelpButton = 87,
    MinimiseButton = 88,
    ExitButton = 89,
    SaveButton = 90,
    OpenButton = 91,
    ClearButton = 92,
    WriteKeysButton = 93,
    BacklightButton = 94,
    LoadButton = 95,
    FirmwareButton = 96,
    LayerButton = 97,
    HeatmapButton = 98,   // shows the press counts as the keys' colours
    KeyTestButton = 99,   // shows the keys typed on the keyboard, to check them one by one
    FirstKeyButton = 100, // key k is 99 + k
    LastKeyButton = 207,

    LanguageLabel = 65,
    GetCounterLabel = 67,
    SaveLabel = 70,
    OpenLabel = 71,
    ClearLabel = 72,
    WriteKeysLabel = 73,
    BacklightLabel = 74,
    LoadLabel = 75,
    FirmwareLabel = 76,
    TopLayerLabel = 77,
    FnLayerLabel = 78,
    HeatmapLabel = 68,
    KeyTestLabel = 69,
    ModelCardLabel = 66,   // the keys and layers under the model's name
    FirstLegendLabel = 55, // categories 2..8 (Combo .. Power)
    LastLegendLabel = 61,
};

// The main window's face: its table of drawn entries per variant, as plain data shared by the
// window and the skin generator. Rectangles are base pixels of the 1240 x 670 face.
namespace MainWindowTable {

constexpr int EntryCount = 145;
constexpr int BaseWidth = 1240;
constexpr int BaseHeight = 670;
constexpr std::uint32_t ColourKey = 0xFF0000;

// Where the press counter report sits (edit control 1001), base pixels.
constexpr ButtonRect ReportArea{27, 506, 960, 650};

// The heatmap's and the key test's toggles side by side, and the heatmap's legend, in the card
// right of the report.
constexpr ButtonRect HeatmapToggle{998, 612, 1097, 646};
constexpr ButtonRect KeyTestToggle{1103, 612, 1202, 646};
constexpr ButtonRect HeatmapLegendArea{998, 576, 1202, 606};

// The legend labels' font; the other labels use 13.
constexpr int LegendFontSize = 12;
// The row the legend's bars and names share, evenly spaced, under the keyboard; each bar sits
// before its name, as the keys' bars are drawn.
constexpr ButtonRect LegendArea{318, 483, 984, 503};
constexpr int LegendBarWidth = 14;
constexpr int LegendBarHeight = 4;
constexpr int LegendBarTop = 6; // below the area's top, level with the names' middle

// The card's line under the model's name (drawn by the window, in its language), in the
// legend's size and the faces' dim text colour.
constexpr ButtonRect ModelCardCaption{998, 550, 1208, 570};
constexpr std::uint32_t ModelCardTextColour = 0x9B918B;

// Indicator colours by key category (0x00BBGGRR); 0 and 1 carry no bar.
constexpr std::uint32_t categoryColours[9]
    = {0x000000, 0xC08000, 0x00FFFF, 0x00FF00, 0x008080, 0xFF00FF, 0xFF0A0A, 0xFFFF00, 0x0000FF};

// Whether a variant has per-key backlight (and so the backlight button). 0 counts as 1.
bool hasBacklightButton(int deviceType);

// All 145 entries in table order, in base pixels; unused slots keep the defaults (id -1).
std::vector<DrawnButton> build(int deviceType);

// Index of the first entry with the given id, or -1.
int indexOf(const std::vector<DrawnButton> &table, int id);

// Key caption for the report: captions are the same in both languages.
const char *keyCaption(int key);
// The key's name (its tooltip), the same in both languages; "" outside 1..108.
const char *keyName(int key);

} // namespace MainWindowTable
