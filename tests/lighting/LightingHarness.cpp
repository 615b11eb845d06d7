#include "LightingHarness.h"

#include "lighting/KeyFrame.h"

#include <QCoreApplication>

ColourChooser::Choice ScriptedChooser::choice()
{
    return [this](const ColourRequest &request) -> std::optional<LightColour> {
        asked.push_back(request);
        if (answers.empty())
            return std::nullopt;
        const std::optional<LightColour> answer = answers.front();
        answers.pop_front();
        return answer;
    };
}

BacklightSkins builtSkins(const JobFixture &f)
{
    return BacklightSkins::fromLibrary(f.skins, f.state.deviceType);
}

ScriptedBacklight::ScriptedBacklight(JobFixture &f, QWidget *parent)
    : CNuboDialogBkLightSettings(f.context(), f.device(), f.data(), f.state.multiKeyExchange,
                                 f.state.deviceType, builtSkins(f), parent)
{
    setColourChooser(chooser.choice());
    setWaits(
        {std::chrono::milliseconds(0), std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
}

int ScriptedBacklight::runMultiKey(CNuboDialogBkLightMultiSelect &dialog)
{
    if (!multiKeyScript)
        return CNuboDialogBkLightSettings::runMultiKey(dialog);
    if (!dialog.initialise())
        return dialog.result();
    return multiKeyScript(dialog);
}

LightSettings distinctColours()
{
    LightSettings colours{};
    for (std::size_t k = 0; k < colours.size(); ++k)
        colours[k] = {int(20 + k * 2), int(250 - k * 2), int((k * 37) % 256)};
    return colours;
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

int paintsDuring(QWidget &widget, const std::function<void()> &action)
{
    QCoreApplication::processEvents();
    PaintCounter counter;
    widget.installEventFilter(&counter);
    action();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    widget.removeEventFilter(&counter);
    return counter.paints;
}

QRgb pixelAtBase(const QImage &grab, float scale, double x, double y)
{
    return grab.pixel(int((x + 0.5) * scale), int((y + 0.5) * scale));
}

std::vector<QRgb> frameSamples(const QImage &grab, const ButtonRect &clientKey, float scale)
{
    std::vector<QRgb> samples;
    for (const ButtonRect &bar : KeyFrame::bars(clientKey, scale)) {
        // The middle of the bar, at the middle of its thickness.
        const double x = (bar.left + bar.right) / 2.0;
        const double y = (bar.top + bar.bottom) / 2.0;
        samples.push_back(grab.pixel(int(x * scale), int(y * scale)));
    }
    return samples;
}
