#include "app/FirstPaintGrabber.h"

#include "app/PngRowWriter.h"
#include "layout/WindowsColour.h"
#include "skin/SkinnedDialog.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

// Device rows per band: a few hundred kilobytes at a time, however large the window.
constexpr int BandRows = 16;

} // namespace

FirstPaintGrabber::FirstPaintGrabber(SkinnedDialog *window, QString path)
    : QObject(window)
    , m_window(window)
    , m_path(std::move(path))
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
    m_mask = m_window->mask();
    // The size a grab of the whole window has; bands at the usual pixel ratios add up to it.
    const QSize size = (QSizeF(m_window->size()) * m_window->devicePixelRatioF()).toSize();
    PngRowWriter writer;
    bool ok = writer.open(m_path, size.width(), size.height());
    if (ok) {
        m_window->grabAsShown(BandRows, [&](const QImage &band, int top) {
            ok = writeBand(writer, band, top);
            return ok;
        });
        ok = ok && writer.finish();
    }
    m_saved = ok;
    if (!ok)
        m_error = writer.error();
    m_finished = true;
    emit done();
}

bool FirstPaintGrabber::writeBand(PngRowWriter &writer, QImage band, int top)
{
    band.convertTo(QImage::Format_ARGB32);
    const double ratio = band.devicePixelRatio();
    QImage inside;
    if (!m_mask.isEmpty() && ratio != 1.0) {
        // The shape at this ratio, as the desktop would scale it, for this band's rows.
        inside = QImage(band.size(), QImage::Format_Grayscale8);
        inside.fill(0);
        QPainter painter(&inside);
        painter.translate(0, -top);
        painter.scale(ratio, ratio);
        painter.setClipRegion(m_mask);
        painter.fillRect(m_window->rect(), Qt::white);
    }
    // What the desktop would not show: outside the window's shape, or the key colour where the
    // platform takes no shapes and the face is painted as is.
    const QRgb key = colourFromWindows(m_window->colourKey()).rgb();
    const int width = band.width();
    m_inside.assign(std::size_t(width), 255);
    for (int y = 0; y < band.height(); ++y) {
        const uchar *seen = m_inside.data();
        if (!inside.isNull()) {
            seen = inside.constScanLine(y);
        } else if (!m_mask.isEmpty()) {
            // At a ratio of 1 a row of the shape is enough.
            std::fill(m_inside.begin(), m_inside.end(), uchar(0));
            const int row = top + y;
            for (const QRect &r : m_mask) {
                if (r.top() <= row && row <= r.bottom()) {
                    const int from = std::max(r.left(), 0);
                    const int to = std::min(r.right(), width - 1);
                    if (from <= to)
                        std::fill(m_inside.begin() + from, m_inside.begin() + to + 1, uchar(255));
                }
            }
        }
        auto *line = reinterpret_cast<QRgb *>(band.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (!seen[x] || (line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
        if (!writer.writeRow(line))
            return false;
    }
    return true;
}
