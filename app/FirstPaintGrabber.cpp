#include "app/FirstPaintGrabber.h"

#include "layout/WindowsColour.h"

#include <QEvent>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

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
    QImage image;
    {
        // Once the pixmap is gone the image is its pixels' only user and converts in place,
        // rather than holding a second window-sized copy.
        const QPixmap grabbed = m_window->grab();
        image = grabbed.toImage();
    }
    image.convertTo(QImage::Format_ARGB32);
    // What the desktop would not show: outside the window's shape, or the key colour where the
    // platform takes no shapes and the face is painted as is.
    const QRegion mask = m_window->mask();
    QImage inside;
    if (!mask.isEmpty() && image.devicePixelRatio() != 1.0) {
        inside = QImage(image.size(), QImage::Format_Grayscale8);
        inside.fill(0);
        QPainter painter(&inside);
        painter.scale(image.devicePixelRatio(), image.devicePixelRatio());
        painter.setClipRegion(mask);
        painter.fillRect(m_window->rect(), Qt::white);
    }
    // At a ratio of 1 a row of the shape is enough, rather than a picture of all of it.
    std::vector<uchar> row(std::size_t(image.width()), 255);
    const QRgb key = colourFromWindows(m_colourKey).rgb();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *seen = row.data();
        if (!inside.isNull()) {
            seen = inside.constScanLine(y);
        } else if (!mask.isEmpty()) {
            std::fill(row.begin(), row.end(), uchar(0));
            for (const QRect &r : mask) {
                if (r.top() <= y && y <= r.bottom()) {
                    const int from = std::max(r.left(), 0);
                    const int to = std::min(r.right(), image.width() - 1);
                    if (from <= to)
                        std::fill(row.begin() + from, row.begin() + to + 1, uchar(255));
                }
            }
        }
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
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
