#pragma once

#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

#include <QTimer>

#include <functional>

// The small window of start-up while no keyboard is attached: it says, in both languages,
// that Quillo is looking for one and that now is the time to plug it in, and looks again once
// a second (11 times, as start-up always has). The bar shows how much of that time has
// passed. It ends when a keyboard is found, when the time is up, or with Cancel.
class SearchingDialog : public SkinnedDialog {
    Q_OBJECT
public:
    enum Outcome : int {
        Cancelled = 0, // QDialog::Rejected: the user ends the program
        Found = 1,
        NotFound = 2,
    };

    // `detect` gives the attached variant, 0 for none. `skin` is the progress dialog's.
    SearchingDialog(const DialogContext &context, const SkinImages &skin,
                    std::function<int()> detect, QWidget *parent = nullptr);

    // Tests look more often than once a second.
    void setRetryDelay(int ms) { m_timer.setInterval(ms); }
    int retries() const { return m_retries; }
    int found() const { return m_found; }
    int progress() const;
    void cancel();

    void reject() override;

    // The window's drawn entries in base pixels, captions the same in both languages.
    static std::vector<DrawnButton> entries();

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    QColor captionColour(const DrawnButton &entry) const override;
    void afterEntries(QPainter &painter) override;

private:
    void retry();

    std::function<int()> m_detect;
    QTimer m_timer;
    int m_retries = 0;
    int m_found = 0;
};
