#pragma once

#include "keymap/KeySettingsCommands.h"
#include "keymap/KeySettingsModel.h"
#include "keymap/KeySettingsRecording.h"
#include "keymap/KeySettingsSkins.h"
#include "keymap/KeySettingsViews.h"
#include "model/KeyMapChange.h"
#include "skin/ClickHold.h"
#include "skin/SkinnedDialog.h"

#include <optional>

class CSkinScrollBar;
class KeySettingsEditor;
class KeySettingsFields;
class KeySettingsScrollBars;
class QMessageBox;
struct VirtualKeyPicks;

// The modal dialog in which the user decides what one key does on one layer: seven pages of
// single keys and combinations, macros, emulations, multimedia, mouse, function and power
// codes, with the predefined lists they are chosen from. It edits the key its input names; OK
// leaves what the key becomes in change(), which the caller stores. Keys picked on the
// virtual keyboard it opens pass through `picks`.
class CNuboDialogKeyMapSettings : public SkinnedDialog {
    Q_OBJECT
public:
    // Releases are held this long, so that a double click acts once.
    static constexpr int ClickHoldMs = 200;

    CNuboDialogKeyMapSettings(const DialogContext &context, const KeySettingsInput &input,
                              VirtualKeyPicks &picks, const KeySettingsSkins &skins,
                              QWidget *parent = nullptr);
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
    KeySettingsEditor &editor() const { return *m_editor; }
    CSkinScrollBar &entryScrollBar() const;
    CSkinScrollBar &stepScrollBar() const;
    RecordingHook &recordingHook() { return m_recording.hook(); }

    // Whether a capture or recording runs: then every key goes to it and nothing else.
    bool isRecording() const { return m_model.isRecording(); }
    // Starts a capture or recording as its Record button does (104, 107, 207, 302).
    void startRecording(int recordButtonId);
    // Ends a running capture or recording and gives the keyboard back.
    void stopRecording();
    // One keystroke for the running recording, from the hook or the dialog's grab.
    void hookMessage(std::uintptr_t wParam, std::intptr_t lParam,
                     std::optional<std::uint32_t> eventTimeMs)
    {
        m_recording.hookMessage(wParam, lParam, eventTimeMs);
    }

    void done(int result) override;

protected:
    // Where the virtual keyboard leaves its pick.
    VirtualKeyPicks &picks() { return m_picks; }
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    bool isEntryShown(const DrawnButton &entry) const override;
    bool showsHover(const DrawnButton &entry) const override;
    QRect captionRect(const DrawnButton &entry, const QRect &place) const override;
    // A long entry name is cut short in the row's font, level with its neighbours.
    bool elidesCaption(const DrawnButton &entry) const override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void beforeEntries(QPainter &painter) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // The wheel over a list or its steps scrolls them as their scroll bar does.
    void wheelEvent(QWheelEvent *event) override;
    // A click on a field or scroll bar while a recording runs only stops it.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

    EntryRole entryRole(const DrawnButton &entry) const override;
    QString entryName(const DrawnButton &entry) const override;
    bool isEntryChecked(const DrawnButton &entry) const override;
    bool isEntryEnabled(const DrawnButton &entry) const override;
    int focusGroup(const DrawnButton &entry) const override;
    QString focusGroupName(int group) const override;
    // In a list the arrows move the selection, scrolling it, and the focus with it.
    int arrowTarget(int index, Qt::Key key) override;
    // A recording takes every key, Tab, Space, Enter and the arrows too.
    bool keyboardCaptured() const override { return isRecording(); }

    // Runs the virtual keyboard in a pick mode; tests answer in its place.
    virtual int runVirtualKeyboard(int pickMode);
    // Runs the step rows' menu at a point of the screen: the item chosen, or 0.
    virtual int runStepMenu(const QPoint &globalPos);
    // Says that a captured key is not on the keyboard, without stopping the capture.
    virtual void showUnknownKey(const QString &text);

private:
    void showPage(int page);
    void scrolled(bool steps, int position);
    // A click that stops a running recording does nothing else: true when it stopped one.
    bool clickStopsRecording();
    // The table as the next paint shows it, for what is asked before that paint.
    void refreshPageState();

    // An open in-place edit is taken over; false when none was open.
    bool commitInPlaceEdit();
    QRect rowRect(int rowId) const;
    // Where a keystroke shows while recording: the step rows, or the single key's name.
    QRect recordedRect() const;

    KeySettingsModel m_model;
    VirtualKeyPicks &m_picks;
    KeySettingsSkins m_skins;
    ClickHold m_hold;
    KeySettingsRecording m_recording;
    KeySettingsFields *m_fields = nullptr;
    KeySettingsScrollBars *m_bars = nullptr;
    KeySettingsEditor *m_editor = nullptr;
    QMessageBox *m_unknownKeyBox = nullptr;
    KeySettingsViews m_views;
    KeySettingsCommands m_commands;
    int m_shownPage = 0;
    int m_skinPage = 0; // the page whose face is set
    std::optional<KeyMapChange> m_change;
};
