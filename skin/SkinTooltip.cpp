#include "skin/SkinTooltip.h"

#include "layout/WindowsColour.h"

SkinTooltip::SkinTooltip(QWidget *owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colourFromWindows(0xFF0000));
    colours.setColor(QPalette::Window, colourFromWindows(0x00FFFF));
    setPalette(colours);
    setAutoFillBackground(true);
    setMargin(3);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_delay.setSingleShot(true);
    m_delay.setInterval(100);
    connect(&m_delay, &QTimer::timeout, this, [this] {
        adjustSize();
        move(m_at + QPoint(12, 18));
        show();
    });
}

void SkinTooltip::showText(const QString &text, const QPoint &globalPos)
{
    if (text.isEmpty()) {
        dismiss();
        return;
    }
    if (isVisible() && text == this->text())
        return;
    setText(text);
    m_at = globalPos;
    hide();
    m_delay.start();
}

void SkinTooltip::dismiss()
{
    m_delay.stop();
    hide();
}
