#pragma once

#include <QObject>
#include <QRegion>
#include <QString>

#include <vector>

class PngRowWriter;
class QImage;
class SkinnedDialog;

// Saves a picture of a window once it has painted for the first time, then closes it, so that a
// run without a screen still leaves something to look at. Pixels of the window's colour key are
// saved transparent, as the desktop would show them. The picture is taken and saved a band of
// rows at a time, never held whole.
class FirstPaintGrabber : public QObject {
    Q_OBJECT
public:
    FirstPaintGrabber(SkinnedDialog *window, QString path);

    bool saved() const { return m_saved; }
    bool finished() const { return m_finished; }
    const QString &error() const { return m_error; }

signals:
    // The window's first paint has completed; the picture is taken next.
    void painted();
    // After the picture was saved or could not be.
    void done();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void grab();
    // Writes `band`, whose first row is row `top` of the picture, with what the desktop would
    // not show made transparent.
    bool writeBand(PngRowWriter &writer, QImage band, int top);

    SkinnedDialog *m_window;
    QString m_path;
    QRegion m_mask;
    std::vector<uchar> m_inside; // a row: 255 where the window's shape is
    bool m_scheduled = false;
    bool m_finished = false;
    bool m_saved = false;
    QString m_error;
};
