#include "app/FirstPaintGrabber.h"

#include "layout/WindowsColour.h"

#include <QEvent>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

FirstPaintGrabber::FirstPaintGrabber(QWidget *window, QString path, unsigned int colourKey)
    : QObject(window)
    , m_window(window)
    , m_path(std::move(path))
    , m_colourKey(colourKey)
{
    window->installEventFilter(this);
}

bool FirstPaintGrabber::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Paint && !m_scheduled) {
        m_scheduled = true;
        // Grab once the paint in progress has completed.
        QTimer::singleShot(0, this, &FirstPaintGrabber::grab);
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaintGrabber::grab()
{
    emit painted();
    QImage image = m_window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // What the desktop would not show: outside the window's shape, or the key colour where the
    // platform takes no shapes and the face is painted as is.
    QImage inside(image.size(), QImage::Format_Grayscale8);
    inside.fill(m_window->mask().isEmpty() ? 255 : 0);
    if (!m_window->mask().isEmpty()) {
        QPainter painter(&inside);
        painter.scale(image.devicePixelRatio(), image.devicePixelRatio());
        painter.setClipRegion(m_window->mask());
        painter.fillRect(m_window->rect(), Qt::white);
    }
    const QRgb key = colourFromWindows(m_colourKey).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uchar *seen = inside.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (!seen[x] || (line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    QImageWriter writer(m_path, "png");
    // The fastest deflate level that still packs a face well: a picture to look at, not to keep.
    writer.setQuality(80);
    m_saved = writer.write(image);
    if (!m_saved)
        m_error = writer.errorString();
    m_finished = true;
    emit done();
}
