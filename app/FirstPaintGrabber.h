#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Saves a picture of a window once it has painted for the first time, then closes it, so that a
// run without a screen still leaves something to look at. Pixels of the window's colour key are
// saved transparent, as the desktop would show them.
class FirstPaintGrabber : public QObject {
    Q_OBJECT
public:
    FirstPaintGrabber(QWidget *window, QString path, unsigned int colourKey);

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

    QWidget *m_window;
    QString m_path;
    unsigned int m_colourKey;
    bool m_scheduled = false;
    bool m_finished = false;
    bool m_saved = false;
    QString m_error;
};
