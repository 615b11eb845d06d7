#pragma once

#include "model/ActionList.h"

#include <string>

class KeyCatalogue;

// Edits of the steps of a combination, macro or emulation beyond recording them: the limits,
// the two delay modes, mouse actions put into a macro, and the values its fields accept. A
// macro with recorded delays keeps its steps alternating, key, delay, key, ..., which is how
// the keyboard receives them: every edit here keeps that pairing.
namespace StepEditing {

constexpr int MaxComboKeys = 6;
constexpr int MaxEmulationKeys = 6;
constexpr int MaxStepsWithDelays = 799;
constexpr int MaxStepsAutoDelay = 1600;
constexpr int MaxDelayStepMs = 65535;

// Items of the right-button menu on a macro's step rows.
enum MenuItem : int {
    LeftPress = 1135,
    LeftRelease = 1136,
    LeftClick = 1137,
    RightPress = 1138,
    RightRelease = 1139,
    RightClick = 1140,
    MiddlePress = 1141,
    MiddleRelease = 1142,
    MiddleClick = 1143,
    WheelUp = 1144,
    WheelDown = 1145,
    DeleteStep = 1147,
};

// 1600 steps with one fixed delay, 799 with recorded ones.
int stepLimit(const ActionList &macro);
// Cuts steps beyond the limit from the end.
void cutToLimit(ActionList &macro);

// One fixed delay: the recorded delays (every second step) are dropped. Nothing when the macro
// uses a fixed delay already. Both switches then cut the macro to the new mode's limit.
void useAutoDelay(ActionList &macro, int delayMs);
// Recorded delays: `delayMs` goes between every two steps. Nothing when already so.
void useRecordedDelays(ActionList &macro);

// A menu item on the occupied step row `row` (counted from the macro's top): mouse steps go in
// before that row, with "<0 ms>" delays between them where the macro records delays; Delete
// removes the step with its own delay. Then the macro is cut to its limit. False when the row
// holds no step or the item is unknown.
bool applyMenuItem(const KeyCatalogue &catalogue, ActionList &macro, int row, int item);

// A typed delay for a step: the number read from the text, within 0..65535.
int delayOfText(const std::string &text);
// What the fields take: times 1..255, a fixed delay 0..60000 ms, an emulation's interval
// 0..6000 ms.
int clampTimes(int value);
int clampAutoDelay(int value);
int clampInterval(int value);

} // namespace StepEditing
