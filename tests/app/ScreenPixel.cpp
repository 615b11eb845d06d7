// Test helper for the end-to-end runs on a virtual display: saves a picture of the whole
// screen and prints the colour of each point asked for, one "#rrggbb" line per point.
//   screen-pixel OUT.png X,Y [X,Y ...]
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

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
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screen-pixel: cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
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
