#pragma once

#include "keymap/KeyMapChange.h"
#include "keymap/KeySettingsModel.h"
#include "keymap/KeySettingsSkins.h"
#include "keymap/KeySettingsViews.h"
#include "keymap/RecordingHook.h"
#include "skin/ClickHold.h"
#include "skin/SkinnedDialog.h"

#include <optional>

class CSkinScrollBar;
class KeySettingsFields;
class KeySettingsScrollBars;

// The modal dialog in which the user decides what one key does on one layer: seven pages of
// single keys and combinations, macros, emulations, multimedia, mouse, function and power
// codes, with the predefined lists they are chosen from. It edits the key AppState names as
// current; OK leaves what the key becomes in change(), which the caller stores.
class CNuboDialogKeyMapSettings : public SkinnedDialog {
    Q_OBJECT
public:
    // Releases are held this long, so that a double click acts once.
    static constexpr int ClickHoldMs = 200;

    CNuboDialogKeyMapSettings(AppState &state, const FontTable &fonts,
                              const KeySettingsSkins &skins, QWidget *parent = nullptr);
    ~CNuboDialogKeyMapSettings() override;

    KeySettingsModel &model() { return m_model; }
    int shownPage() const { return m_shownPage; }
    // What OK decided; empty until then.
    const std::optional<KeyMapChange> &change() const { return m_change; }

    // A click on the first shown entry with this id, handled as its release is once the hold
    // is over; false when the page shows no such entry.
    bool clickId(int id);
    // The handling of a release on table entry `index`, in the order the dialog keeps.
    void clickEntry(int index);
    ClickHold &clickHold() { return m_hold; }

    KeySettingsFields &fields() const { return *m_fields; }
    CSkinScrollBar &entryScrollBar() const;
    CSkinScrollBar &stepScrollBar() const;
    RecordingHook &recordingHook() { return m_recordingHook; }

    // Ends a running capture or recording and gives the keyboard back.
    void stopRecording();

    void done(int result) override;

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    bool isEntryShown(const DrawnButton &entry) const override;
    bool showsHover(const DrawnButton &entry) const override;
    QRect captionRect(const DrawnButton &entry, const QRect &base) const override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void beforeEntries(QPainter &painter) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // Runs the virtual keyboard in a pick mode; tests answer in its place.
    virtual int runVirtualKeyboard(int pickMode);

private:
    using Handler = void (CNuboDialogKeyMapSettings::*)(int id);
    static Handler handlerOf(int id);

    void showPage(int page);
    void scrolled(bool steps, int position);

    void onTab(int id);
    void onDefault(int id);
    void onClear(int id);
    void onOk(int id);
    void onCancel(int id);
    void onSingleMode(int id);
    void onVirtualSingleKey(int id);
    void onEntryRow(int id);
    void onStepRow(int id);
    void onCodeButton(int id);

    // Seams of the editor: renaming an entry or editing a delay step in the in-place field.
    bool commitInPlaceEdit();
    void beginRename(int page, int row);
    void beginStepEdit(int page, int row);

    KeySettingsModel m_model;
    KeySettingsSkins m_skins;
    ClickHold m_hold;
    RecordingHook m_recordingHook;
    KeySettingsFields *m_fields = nullptr;
    KeySettingsScrollBars *m_bars = nullptr;
    KeySettingsViews m_views;
    int m_shownPage = 0;
    int m_skinPage = 0; // the page whose face is set
    std::optional<KeyMapChange> m_change;
};
