// Helper for the end-to-end runs and the guide's screenshots on a virtual display: saves a
// picture of the whole screen, or of the rectangle given with --rect, and prints the colour of
// each point asked for (in screen coordinates), one "#rrggbb" line per point.
//   screen-pixel OUT.png [--rect X,Y,W,H] [X,Y ...]
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screen-pixel OUT.png X,Y ...\n");
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "screen-pixel: no screen\n");
        return 1;
    }
    const QImage shot = screen->grabWindow(0).toImage();
    int first = 2;
    QImage saved = shot;
    if (argc > 3 && !std::strcmp(argv[2], "--rect")) {
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        if (std::sscanf(argv[3], "%d,%d,%d,%d", &x, &y, &w, &h) != 4 || w <= 0 || h <= 0
            || !shot.rect().contains(QRect(x, y, w, h))) {
            std::fprintf(stderr, "screen-pixel: %s is not a rectangle on the screen\n", argv[3]);
            return 2;
        }
        saved = shot.copy(x, y, w, h);
        first = 4;
    }
    if (shot.isNull() || !saved.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screen-pixel: cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    for (int i = first; i < argc; ++i) {
        int x = 0;
        int y = 0;
        if (std::sscanf(argv[i], "%d,%d", &x, &y) != 2 || !shot.valid(x, y)) {
            std::fprintf(stderr, "screen-pixel: %s is not a point on the screen\n", argv[i]);
            return 2;
        }
        std::printf("%s\n", qPrintable(shot.pixelColor(x, y).name()));
    }
    return 0;
}
