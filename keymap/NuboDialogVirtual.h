#pragma once

#include "keymap/VirtualKeyCaptions.h"
#include "keymap/VirtualKeyPicker.h"
#include "skin/ClickHold.h"
#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

#include <QTimer>

class KeyCatalogue;
class QPlainTextEdit;
struct VirtualKeyPicks;

// The on-screen keyboard on which keys are picked with the mouse: one key (pick mode 1) or up
// to six for a combination (mode 2). The pick is exchanged through the caller's
// VirtualKeyPicks as device codes (virtualPick, virtualPicks and virtualPickCount) and shown
// in words below the keys.
class NuboDialogVirtual : public SkinnedDialog {
    Q_OBJECT
public:
    // Releases are held this long for a double click; a double click waits this long for its
    // release.
    static constexpr int ClickHoldMs = 100;
    static constexpr int DoubleClickReleaseMs = 300;

    NuboDialogVirtual(const DialogContext &context, const KeyCatalogue &catalogue,
                      VirtualKeyPicks &picks, const SkinImages &skin, QWidget *parent = nullptr);
    ~NuboDialogVirtual() override;

    // Set by the caller before the dialog runs: 1 picks one key, 2 a combination.
    int pickMode = VirtualKeyPicker::SingleKey;

    QPlainTextEdit *pickText() const { return m_text; }
    // A click on an entry as its release would act once the hold is over.
    void clickEntry(int index);
    ClickHold &clickHold() { return m_hold; }

    void done(int result) override;

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void afterEntries(QPainter &painter) override;
    // The texts are drawn over the stretched face, at the screen's resolution.
    bool paintsEntry(const DrawnButton &entry) const override { return !entry.isLabel; }
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void finishDoubleClick();

    VirtualKeyPicks &m_picks;
    VirtualKeyPicker m_picker;
    VirtualKeyCaptions m_captions;
    ClickHold m_hold;
    QPlainTextEdit *m_text = nullptr;
    QTimer m_doubleClickWait;
    int m_doubleClickEntry = -1;
};
