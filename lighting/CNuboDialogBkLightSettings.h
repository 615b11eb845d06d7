#pragma once

#include "jobs/DeviceAccess.h"
#include "jobs/JobData.h"
#include "jobs/TransferJob.h"
#include "lighting/BacklightSkins.h"
#include "lighting/ColourChooser.h"
#include "model/LightSettings.h"
#include "skin/SkinnedDialog.h"

#include <QMessageBox>

#include <functional>

class CNuboDialogBkLightMultiSelect;
struct MultiKeyExchange;

// The modal dialog in which the owner of an RGB keyboard gives its 108 keys their backlight
// colours: a drawing of the keyboard with every key framed in its colour, where a click on a
// key opens the colour chooser for it. It edits workingColours, a copy of the configuration's
// lightSettings, and hands it back only when the user confirms (OK or Write); Read fetches
// the keyboard's colours, Write sends the edited ones, both in the progress dialog, which
// runs its jobs on `data` through `device`. `exchange` carries the multi-key dialog's pick.
class CNuboDialogBkLightSettings : public SkinnedDialog {
    Q_OBJECT
public:
    CNuboDialogBkLightSettings(const DialogContext &context, DeviceAccess device,
                               const JobData &data, MultiKeyExchange &exchange, int deviceType,
                               const BacklightSkins &skins, QWidget *parent = nullptr);
    ~CNuboDialogBkLightSettings() override;

    // The colours being edited: the configuration's lightSettings when the dialog opened.
    LightSettings workingColours{};

    // Where OK and Write put the confirmed colours; the configuration's lightSettings unless
    // the caller takes them itself.
    using LightsStore = std::function<void(const LightSettings &lights)>;
    void setLightsStore(LightsStore store) { m_store = std::move(store); }
    void setColourChooser(ColourChooser::Choice choose) { m_choose = std::move(choose); }
    // Asked before Read and Write: true when the keyboard cannot be reached (working offline)
    // and the user has been told so; nothing is read, written or stored then.
    using DeviceGate = std::function<bool()>;
    void setDeviceGate(DeviceGate refuses) { m_refuses = std::move(refuses); }
    // The pauses of the device jobs (tests shorten them).
    void setWaits(const TransferJob::Waits &waits) { m_waits = waits; }

    // A click on the first entry with this id (a key's is 99 + its number), as a release on
    // it would be; false when the table has no such entry.
    bool clickId(int id);

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void decorateEntry(QPainter &painter, const DrawnButton &entry, const QRect &base) override;
    bool showsHover(const DrawnButton &entry) const override;
    QColor captionColour(const DrawnButton &entry) const override;
    void afterEntries(QPainter &painter) override;
    // Keys are named buttons that tell their colour.
    QString entryName(const DrawnButton &entry) const override;
    QString entryDescription(const DrawnButton &entry) const override;

    // Where the dialog meets the user and the keyboard; tests answer in their place.
    // `detail` says why an exchange failed; empty after a cancel or a success.
    virtual void showMessage(const QString &text, const QString &detail, QMessageBox::Icon icon);
    // Runs a device job in the progress dialog; its Result.
    virtual int runJob(int job, TransferResult *detail);
    // Runs the prepared multi-key dialog; its modal result.
    virtual int runMultiKey(CNuboDialogBkLightMultiSelect &dialog);

private:
    void chooseKeyColour(int key);
    void readLights();
    void setDefault();
    void writeLights();
    void confirm();
    void setAll();
    void multiKey();
    void storeWorkingColours();
    void tellOutcome(int job, int outcome, const TransferResult &detail);
    QString text(const char *chinese, const char *english) const;

    DeviceAccess m_device;
    JobData m_data;
    MultiKeyExchange &m_exchange;
    const int m_deviceType;
    BacklightSkins m_skins;
    LightsStore m_store;
    DeviceGate m_refuses;
    ColourChooser::Choice m_choose;
    TransferJob::Waits m_waits;
};
