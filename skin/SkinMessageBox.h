#pragma once

#include "skin/DialogContext.h"
#include "skin/QtWindowLook.h"

#include <QMessageBox>

// Every message box and question of the program: Qt's box in the program's dark palette and
// font, with its button texts in the window's language, set here rather than left to Qt's
// translations (which may not be installed). Texts are shown as they are, never as markup.
class SkinMessageBox : public QMessageBox {
    Q_OBJECT
public:
    // A scale factor of 0 (before the main window computed it) takes the primary screen's.
    SkinMessageBox(const DialogContext &context, Icon icon, const QString &caption,
                   const QString &text, StandardButtons buttons = NoButton,
                   QWidget *parent = nullptr);

    // The line under the text, shown as it is.
    void setDetail(const QString &detail);

    // Modal "OK" box.
    static void tell(const DialogContext &context, QWidget *parent, Icon icon,
                     const QString &caption, const QString &text, const QString &detail = {});
    // Modal Yes/No question; true for Yes. Enter answers `defaultAnswer`, Escape No.
    static bool ask(const DialogContext &context, QWidget *parent, Icon icon,
                    const QString &caption, const QString &text,
                    StandardButton defaultAnswer = Yes);

    // The texts of the buttons the program uses, "OK", "Yes", "No", "Cancel"; empty for others.
    static QString buttonText(StandardButton button, bool chinese);
    // Characters of the box's text, in base pixels as the windows' captions.
    static constexpr int FontSize = QtWindowLook::FontSize;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void nameButtons();

    bool m_chinese;
};
