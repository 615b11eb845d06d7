// The yardstick for the program's cold start: a bare frameless Qt window of the main window's
// size that saves a picture of itself after its first paint and exits, as quillo-sim
// --screenshot does.
#include "layout/ScaleFactor.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

class BareWindow : public QWidget {
public:
    explicit BareWindow(QString path)
        : m_path(std::move(path))
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        // The main window's face at the scale the program would pick on this screen.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double ratio = screen ? screen->devicePixelRatio() : 1.0;
        const int height = screen ? devicePixels(screen->geometry().height(), ratio) : 1080;
        const float scale = logicalScale(computeScaleFactor(height), ratio);
        setFixedSize(scaledPixels(1240, scale), scaledPixels(670, scale));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor(24, 24, 28));
        if (m_grabbed)
            return;
        m_grabbed = true;
        QTimer::singleShot(0, this, [this] {
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            const bool saved = grab().toImage().save(m_path, "png");
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }

private:
    QString m_path;
    bool m_grabbed = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc != 3 || std::strcmp(argv[1], "--screenshot") != 0)
        return 2;
    BareWindow window(QString::fromLocal8Bit(argv[2]));
    window.show();
    return application.exec();
}
