#include "MainWindowHarness.h"

#include <quillodev/HidBackend.h>

#include <QCoreApplication>
#include <QPainter>

SkinImages positionCodedSkin(QSize size)
{
    const auto face = [size](int blue) {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qRgb(x % 251, y % 251, blue);
        }
        return image;
    };
    return {face(10), face(120), face(230)};
}

int imageOfPixel(QRgb pixel)
{
    switch (qBlue(pixel)) {
    case 10:
        return 0;
    case 120:
        return 1;
    case 230:
        return 2;
    default:
        return -1;
    }
}

AttachedKeyboard::AttachedKeyboard(int variant)
    : keyboard(quillosim::SimKeyboard::create(variant))
{
    quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
    state.deviceType = state.hwi.DetectDeviceType();
    state.buildCatalogue();
    state.scaleFactor = 1.0f;
}

AttachedKeyboard::~AttachedKeyboard()
{
    state.hwi.__closeDev();
    quillodev::setHidBackend(nullptr);
}

QImage grabWindow(CNuboDlg &window)
{
    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    // Children stay out: the report box would cover the face.
    window.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}
