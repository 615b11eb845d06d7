#include "skin/SkinMessageBox.h"

#include "skin/QtWindowLook.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>

namespace {

struct ButtonCaption {
    QMessageBox::StandardButton button;
    const char *chinese;
    const char *english;
};

constexpr ButtonCaption ButtonCaptions[] = {
    {QMessageBox::Ok, "确定", "OK"},
    {QMessageBox::Yes, "是", "Yes"},
    {QMessageBox::No, "否", "No"},
    {QMessageBox::Cancel, "取消", "Cancel"},
};

} // namespace

SkinMessageBox::SkinMessageBox(const DialogContext &context, Icon icon, const QString &caption,
                               const QString &text, StandardButtons buttons, QWidget *parent)
    : QMessageBox(icon, caption, QString(), buttons, parent)
    , m_chinese(context.chinese())
{
    // A path or a key name with angle brackets must not turn into markup.
    setTextFormat(Qt::PlainText);
    setText(text);
    QtWindowLook::apply(this, context);
    if (auto *buttonBox = findChild<QDialogButtonBox *>())
        buttonBox->installEventFilter(this);
    nameButtons();
}

void SkinMessageBox::setDetail(const QString &detail)
{
    setInformativeText(detail);
    if (auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
}

void SkinMessageBox::tell(const DialogContext &context, QWidget *parent, Icon icon,
                          const QString &caption, const QString &text, const QString &detail)
{
    SkinMessageBox box(context, icon, caption, text, Ok, parent);
    if (!detail.isEmpty())
        box.setDetail(detail);
    box.setDefaultButton(Ok);
    box.exec();
}

bool SkinMessageBox::ask(const DialogContext &context, QWidget *parent, Icon icon,
                         const QString &caption, const QString &text, StandardButton defaultAnswer)
{
    SkinMessageBox box(context, icon, caption, text, Yes | No, parent);
    box.setDefaultButton(defaultAnswer);
    box.setEscapeButton(No);
    return box.exec() == Yes;
}

QString SkinMessageBox::buttonText(StandardButton button, bool chinese)
{
    for (const ButtonCaption &caption : ButtonCaptions) {
        if (caption.button == button)
            return QString::fromUtf8(chinese ? caption.chinese : caption.english);
    }
    return {};
}

bool SkinMessageBox::eventFilter(QObject *watched, QEvent *event)
{
    // Installing or removing a translator would have the button box rename its standard
    // buttons in Qt's words; they keep ours. Nothing else in the box follows Qt's language.
    if (event->type() == QEvent::LanguageChange && watched != this) {
        nameButtons();
        return true;
    }
    return QMessageBox::eventFilter(watched, event);
}

void SkinMessageBox::nameButtons()
{
    for (QAbstractButton *button : buttons()) {
        const QString caption = buttonText(standardButton(button), m_chinese);
        if (!caption.isEmpty())
            button->setText(caption);
    }
}
