#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>

class KeySettingsFields;
class KeySettingsModel;
class WorkingList;

// The editing of the predefined lists in the key settings dialog: New and Remove, renaming an
// entry and editing a delay step in the in-place field over its row, the play and delay
// settings of a macro, an emulation's interval, and the mouse actions of a macro's steps.
// Every change goes into the selected list entry at once.
class KeySettingsEditor : public QObject {
    Q_OBJECT
public:
    // Where a list row lies in the dialog, in client pixels.
    using RowRect = std::function<QRect(int rowId)>;

    KeySettingsEditor(KeySettingsModel &model, KeySettingsFields &fields, bool chinese,
                      RowRect rowRect, QObject *parent = nullptr);

    // The editor's buttons: New and Remove of the three lists, the play and delay settings.
    static bool handlesButton(int id);
    void clickButton(int id);

    // New (105, 205, 305): a new entry, its proposed name in the in-place field.
    void newEntry(int page);
    // Remove / Delete (106, 206, 306).
    void removeEntry(int page);
    // Radios 201, 208, 209: the macro's play mode; only "Times Play" takes the times field.
    void setPlayMode(int mode);
    // Checks 203 and 210: one fixed delay, from the auto delay field, or recorded delays.
    void setAutoDelay(bool on);
    // A click on a row showing an entry: the first selects it, the second renames it.
    void clickEntryRow(int page, int row);
    // A click on a row showing a step: the first selects it, the second edits a delay.
    void clickStepRow(int page, int row);
    // A right-button menu item on a step row of the macro page.
    void applyMenuItem(int row, int item);

    // The in-place field over a row: renaming the entry shown in `row`, or editing the delay
    // step there (macro steps only).
    void beginRename(int page, int row, const QString &text);
    void beginStepEdit(int page, int row);
    bool isEditing() const { return m_mode != Mode::None; }
    // Takes the field's text over and hides it; false when nothing was being edited.
    bool commit();
    // Puts back the text the field opened with, then commits.
    void cancel();

signals:
    // Something shown changed.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { None, Rename, StepDelay };

    void fieldEdited(int fieldId);
    void fieldFinished(int fieldId);
    int fieldValue(int fieldId) const;
    void open(Mode mode, int page, int row, int rowId, const QString &text);

    KeySettingsModel &m_model;
    KeySettingsFields &m_fields;
    bool m_chinese;
    RowRect m_rowRect;
    Mode m_mode = Mode::None;
    int m_page = 0;
    int m_index = -1; // absolute index of the entry or step edited
    QString m_openedWith;
};
