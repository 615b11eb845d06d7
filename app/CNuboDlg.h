#pragma once

#include "app/CommandWindow.h"
#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <string>

class AppState;
class DeviceCommands;
class DeviceWatcher;
class DeviceWorker;
class HeatmapView;
class KeyCommand;
class KeyTester;
class MainWindowLegend;
class OfflineMode;
class QPlainTextEdit;
class SkinLibrary;
class TrayPresence;
class UndoShortcuts;

// The main window: the keyboard picture with every key in the state of its assignment on the
// shown layer, the tool bar, the layer switch, the colour legend and the press counter report.
// It opens the keyboard when it starts and ends the program when it closes.
class CNuboDlg : public SkinnedDialog, private CommandWindow {
    Q_OBJECT
public:
    static constexpr int ClickBlockMs = 500;

    CNuboDlg(AppState &state, const FontTable &fonts, SkinImages skin, QWidget *parent = nullptr);
    ~CNuboDlg() override;

    AppState &state() const { return m_state; }
    // The one thread besides this one that talks to the keyboard; the window waits for it
    // as it goes.
    DeviceWorker &deviceWorker() const { return *m_worker; }

    // The modal loop; unlike QDialog's it survives the window hiding in the notification area.
    int exec() override;

    QPlainTextEdit *reportBox() const { return m_report; }
    // The report as it was last set, with CR LF line ends.
    const std::string &reportText() const { return m_reportText; }
    bool isInTray() const { return m_inTray; }
    // Nobody at the screen: messages go to the error output and questions are answered No.
    void setUnattended(bool unattended) { m_unattended = unattended; }

    // Any device came or went: ends the program when the keyboard is gone.
    void deviceChanged();
    // Runs a command as a click on its button would.
    void runCommand(int id);
    // The Open command once the user has chosen `path` (empty: cancelled).
    void openProfile(const QString &path);

    // Where the dialogs opened from the window find their faces.
    void setSkinLibrary(const SkinLibrary *skins);
    const SkinLibrary *skinLibrary() const { return m_skins; }
    DeviceCommands &deviceCommands() { return *m_deviceCommands; }
    KeyCommand &keyCommand() { return *m_keyCommand; }
    HeatmapView &heatmap() { return *m_heatmap; }
    KeyTester &keyTester() { return *m_keyTester; }
    OfflineMode &offlineMode() { return *m_offline; }
    UndoShortcuts *undoShortcuts() const { return m_undo; }

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void beforeEntries(QPainter &painter) override;
    void decorateEntry(QPainter &painter, const DrawnButton &entry, const QRect &base) override;
    QRect captionRect(const DrawnButton &entry, const QRect &place) const override;
    void afterSkinCopy(QPainter &painter, const DrawnButton &entry, const QRect &base) override;
    void afterEntry(QPainter &painter, DrawnButton &entry, const QRect &base,
                    bool hovered) override;
    void afterEntries(QPainter &painter) override;
    QRegion drawnArea() const override;
    void keyPressEvent(QKeyEvent *event) override;
    bool keyboardCaptured() const override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    EntryRole entryRole(const DrawnButton &entry) const override;
    QString entryName(const DrawnButton &entry) const override;
    QString entryDescription(const DrawnButton &entry) const override;

    // Where the window meets the user; tests answer in place of a person.
    virtual void showMessage(const QString &caption, const QString &text, QMessageBox::Icon icon);
    virtual bool askYesNo(const QString &caption, const QString &text);
    // Empty when the user cancelled.
    virtual QString chooseSavePath();
    virtual QString chooseOpenPath();

private:
    friend class OfflineMode;

    QWidget *commandOwner() override { return this; }
    const SkinLibrary *commandSkins() const override { return m_skins; }
    void tellUser(const QString &caption, const QString &text, QMessageBox::Icon icon) override
    {
        showMessage(caption, text, icon);
    }
    bool askUser(const QString &caption, const QString &text) override
    {
        return askYesNo(caption, text);
    }
    void saveConfiguration() override { saveProfile(); }
    void keyboardChanged() override { deviceChanged(); }
    bool refusesDeviceCommand() override;

    bool openKeyboard();
    void placeReportBox();
    void switchLanguage();
    void switchLayer();
    void switchKeyTest();
    void keyTested(int key);
    void minimiseToTray();
    void restoreFromTray();
    void exitSequence();
    void saveProfile();
    QString text(const char *chinese, const char *english) const;
    QString modelCaption() const;
    DrawnButton *entryById(int id);

    AppState &m_state;
    // Declared first, so that it is waited for after the commands that use it have gone.
    std::unique_ptr<DeviceWorker> m_worker;
    std::unique_ptr<KeyCommand> m_keyCommand;
    std::unique_ptr<DeviceCommands> m_deviceCommands;
    std::unique_ptr<HeatmapView> m_heatmap;
    std::unique_ptr<KeyTester> m_keyTester;
    std::unique_ptr<OfflineMode> m_offline;
    std::unique_ptr<MainWindowLegend> m_legend;
    UndoShortcuts *m_undo = nullptr;
    const SkinLibrary *m_skins = nullptr;
    QPlainTextEdit *m_report = nullptr;
    TrayPresence *m_tray = nullptr;
    DeviceWatcher *m_watcher = nullptr;
    QTimer m_clickBlock;
    std::string m_pendingReport;
    std::string m_reportText;
    bool m_inTray = false;
    bool m_checkingDevice = false;
    bool m_unattended = false;
};
