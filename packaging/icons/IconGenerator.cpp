// quillo-icongen: writes the program's icon for the desktop's icon theme, as a scalable SVG and
// as PNGs of the usual sizes, from the same drawing as the window's own icon.
#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int Sizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
constexpr int SvgSize = 256;

bool writeSvg(const QString &path, const QString &name)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(SvgSize, SvgSize));
    svg.setViewBox(QRect(0, 0, SvgSize, SvgSize));
    svg.setTitle(name);
    svg.setDescription(QStringLiteral("A dark key cap with an orange Q"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    AppIcon::paint(painter, QRectF(0, 0, SvgSize, SvgSize));
    return painter.end();
}

bool writePng(const QString &path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    AppIcon::paint(painter, QRectF(0, 0, size, size));
    painter.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    int qtArgc = 3;
    char platformArg[] = "-platform";
    char offscreen[] = "offscreen";
    char *qtArgv[] = {argv[0], platformArg, offscreen, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillo-icongen <icon theme folder> <icon name>\n");
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);

    const auto folder = [&](const QString &sizeName) {
        const QString path = theme.filePath(sizeName + QStringLiteral("/apps"));
        return QDir().mkpath(path) ? QDir(path) : QDir();
    };
    const QString svg = folder(QStringLiteral("scalable")).filePath(name + QStringLiteral(".svg"));
    if (!writeSvg(svg, name)) {
        std::fprintf(stderr, "quillo-icongen: cannot write %s\n", qPrintable(svg));
        return 1;
    }
    for (int size : Sizes) {
        const QString png
            = folder(QStringLiteral("%1x%1").arg(size)).filePath(name + QStringLiteral(".png"));
        if (!writePng(png, size)) {
            std::fprintf(stderr, "quillo-icongen: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
