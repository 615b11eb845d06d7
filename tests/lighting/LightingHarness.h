#pragma once

#include "../jobs/JobHarness.h"

#include "lighting/BacklightSkins.h"
#include "lighting/CNuboDialogBkLightMultiSelect.h"
#include "lighting/CNuboDialogBkLightSettings.h"

#include <QImage>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A colour chooser that answers in turn from `answers` (nothing: cancelled) and keeps what it
// was asked; cancelled once the answers run out.
struct ScriptedChooser {
    std::deque<std::optional<LightColour>> answers;
    std::vector<ColourRequest> asked;

    ColourChooser::Choice choice();
};

// The built faces of the lighting dialogs and the progress dialog.
BacklightSkins builtSkins(const JobFixture &f);

// The backlight dialog with the built faces, its chooser and messages the test's, and its
// device jobs without their pauses.
class ScriptedBacklight : public CNuboDialogBkLightSettings {
public:
    explicit ScriptedBacklight(JobFixture &f, QWidget *parent = nullptr);

    ScriptedChooser chooser;
    std::vector<QString> messages;
    std::vector<QString> details;
    // Runs in place of the multi-key dialog's modal loop; unset: its real loop.
    std::function<int(CNuboDialogBkLightMultiSelect &)> multiKeyScript;

protected:
    void showMessage(const QString &text, const QString &detail, QMessageBox::Icon) override
    {
        messages.push_back(text);
        details.push_back(detail);
    }
    int runMultiKey(CNuboDialogBkLightMultiSelect &dialog) override;
};

// Every key its own colour, entry 0 one of its own.
LightSettings distinctColours();
// How many times `widget` was painted while `action` ran and the events it caused were handled.
int paintsDuring(QWidget &widget, const std::function<void()> &action);
// The pixel of a window's grab at a base-pixel position (the middle of that base pixel).
QRgb pixelAtBase(const QImage &grab, float scale, double x, double y);
// The colour at the middle of each of the four bars of a key's frame: left, right, top, bottom.
std::vector<QRgb> frameSamples(const QImage &grab, const ButtonRect &clientKey, float scale);
