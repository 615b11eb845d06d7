#include "skin/SkinTooltip.h"

#include "layout/WindowsColour.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

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
        // Beside the pointer, but whole on its screen: the buttons near a window's right or
        // bottom edge have theirs on the other side.
        QRect place(m_at + QPoint(12, 18), size());
        if (const QScreen *screen = QGuiApplication::screenAt(m_at)) {
            const QRect area = screen->availableGeometry();
            if (place.right() > area.right())
                place.moveRight(m_at.x() - 4);
            if (place.bottom() > area.bottom())
                place.moveBottom(m_at.y() - 4);
            place.moveLeft(std::max(place.left(), area.left()));
            place.moveTop(std::max(place.top(), area.top()));
        }
        move(place.topLeft());
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
