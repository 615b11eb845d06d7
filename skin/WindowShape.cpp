#include "skin/WindowShape.h"

#include <utility>
#include <vector>

namespace WindowShape {

QRegion fromFace(const QImage &face, const QSize &window, QRgb key)
{
    if (face.isNull() || window.isEmpty())
        return {};
    const QImage pixels = face.format() == QImage::Format_ARGB32_Premultiplied
                                  || face.format() == QImage::Format_ARGB32
                                  || face.format() == QImage::Format_RGB32
                              ? face
                              : face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qint64 faceWidth = pixels.width();
    const qint64 faceHeight = pixels.height();
    const qint64 width = window.width();
    const qint64 height = window.height();
    const auto faceColumn = [&](qint64 x) {
        return (2 * x + 1) * faceWidth / (2 * width);
    };
    const auto faceRow = [&](qint64 y) {
        return (2 * y + 1) * faceHeight / (2 * height);
    };
    // firstX[c]: the first window column over face column c or a later one.
    std::vector<int> firstX(std::size_t(faceWidth) + 1);
    for (qint64 column = 0, x = 0; column <= faceWidth; ++column) {
        while (x < width && faceColumn(x) < column)
            ++x;
        firstX[std::size_t(column)] = int(x);
    }
    const auto seen = [key](QRgb pixel) {
        return qAlpha(pixel) != 0 && (pixel | 0xFF000000u) != (key | 0xFF000000u);
    };

    // Runs of seen pixels per row, equal rows joined in bands: the order setRects wants.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    std::size_t bandStart = 0;
    for (qint64 y = 0; y < height;) {
        const qint64 row = faceRow(y);
        qint64 end = y + 1;
        while (end < height && faceRow(end) == row)
            ++end;
        runs.clear();
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(int(row)));
        for (qint64 c = 0; c < faceWidth;) {
            while (c < faceWidth && !seen(line[c]))
                ++c;
            const qint64 start = c;
            while (c < faceWidth && seen(line[c]))
                ++c;
            const int left = firstX[std::size_t(start)];
            const int right = firstX[std::size_t(c)];
            if (right <= left)
                continue;
            if (!runs.empty() && runs.back().second >= left)
                runs.back().second = right;
            else
                runs.emplace_back(left, right);
        }
        if (runs == previous) {
            for (std::size_t i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(int(end - 1));
        } else {
            bandStart = rects.size();
            for (const auto &[left, right] : runs)
                rects.emplace_back(left, int(y), right - left, int(end - y));
            previous = runs;
        }
        y = end;
    }
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace WindowShape
