#include "skin/FacePatches.h"

#include "skin/FaceBuffer.h"
#include "skin/SkinFaceFormat.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <cstring>

FacePatches::FacePatches(const QSize &size)
    : m_size(size)
{}

FacePatches::FacePatches(const QImage &whole)
    : m_size(whole.size())
{
    if (!whole.isNull()) {
        m_patches.push_back({whole.rect(), whole});
        m_tallest = whole.height();
    }
}

FacePatches::FacePatches(const QSize &size, std::vector<Patch> patches,
                         std::shared_ptr<const void> owner)
    : m_size(size)
    , m_patches(std::move(patches))
    , m_owner(std::move(owner))
{
    for (const Patch &patch : m_patches)
        m_tallest = std::max(m_tallest, patch.rect.height());
}

FacePatches FacePatches::fromStored(const unsigned char *stored, std::size_t size,
                                    std::shared_ptr<const void> owner)
{
    if (reinterpret_cast<std::uintptr_t>(stored) % 4 != 0)
        return {};
    const auto header = SkinFaceFormat::readPatches(stored, size);
    if (!header)
        return {};
    std::vector<Patch> patches;
    patches.reserve(header->count);
    const unsigned char *pixels = stored + SkinFaceFormat::patchPixelsOffset(header->count);
    for (std::size_t i = 0; i < header->count; ++i) {
        const SkinFaceFormat::PatchRect r = SkinFaceFormat::patchRect(stored, i);
        const QRect rect(int(r.x), int(r.y), int(r.width), int(r.height));
        // Read-only: a painter on one would work on a copy.
        QImage image(pixels, rect.width(), rect.height(), qsizetype(rect.width()) * 4,
                     QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return {};
        patches.push_back({rect, std::move(image)});
        pixels += std::size_t(r.width) * r.height * 4;
    }
    return FacePatches(QSize(int(header->width), int(header->height)), std::move(patches),
                       std::move(owner));
}

std::size_t FacePatches::byteCount() const
{
    std::size_t bytes = 0;
    for (const Patch &patch : m_patches)
        bytes += std::size_t(patch.pixels.sizeInBytes());
    return bytes;
}

FacePatches FacePatches::cut(const QImage &face, const QRegion &region)
{
    const QRegion inside = region & face.rect();
    const QImage source = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::size_t bytes = 0;
    for (const QRect &rect : inside)
        bytes += std::size_t(rect.width()) * std::size_t(rect.height()) * 4;
    auto *memory = static_cast<uchar *>(FaceBuffer::allocate(std::max<std::size_t>(bytes, 4)));
    if (!memory)
        return {};
    std::shared_ptr<const void> owner(memory, FaceBuffer::release);
    std::vector<Patch> patches;
    uchar *to = memory;
    // A region's rectangles come by rising top edge, as patches lie.
    for (const QRect &rect : inside) {
        const std::size_t rowBytes = std::size_t(rect.width()) * 4;
        for (int y = 0; y < rect.height(); ++y)
            std::memcpy(to + std::size_t(y) * rowBytes,
                        source.constScanLine(rect.top() + y) + std::size_t(rect.left()) * 4,
                        rowBytes);
        const uchar *pixels = to;
        patches.push_back({rect, QImage(pixels, rect.width(), rect.height(), qsizetype(rowBytes),
                                        QImage::Format_ARGB32_Premultiplied)});
        to += rowBytes * std::size_t(rect.height());
    }
    return FacePatches(face.size(), std::move(patches), std::move(owner));
}

void FacePatches::copy(QPainter &painter, const QRect &rect, const QImage &background) const
{
    const QRect area = rect & QRect(QPoint(0, 0), m_size);
    if (area.isEmpty())
        return;
    painter.drawImage(area.topLeft(), background, area);
    paint(painter, area);
}

void FacePatches::paint(QPainter &painter, const QRect &rect) const
{
    const QRect area = rect & QRect(QPoint(0, 0), m_size);
    if (area.isEmpty())
        return;
    // No patch that starts more than the tallest one's height above the area reaches into it.
    const int firstTop = area.top() - m_tallest;
    auto it = std::lower_bound(m_patches.begin(), m_patches.end(), firstTop,
                               [](const Patch &patch, int top) { return patch.rect.top() < top; });
    for (; it != m_patches.end() && it->rect.top() <= area.bottom(); ++it) {
        const QRect part = it->rect & area;
        if (!part.isEmpty())
            painter.drawImage(part.topLeft(), it->pixels, part.translated(-it->rect.topLeft()));
    }
}

QImage FacePatches::toImage(const QImage &background) const
{
    if (isNull())
        return {};
    QImage face = background.size() == m_size
                      ? background.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                      : QImage(m_size, QImage::Format_ARGB32_Premultiplied);
    if (background.size() != m_size)
        face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Patch &patch : m_patches)
        painter.drawImage(patch.rect.topLeft(), patch.pixels);
    painter.end();
    return face;
}

FacePatches FacePatches::transformed(const std::function<QImage(const QImage &)> &change) const
{
    std::vector<Patch> patches;
    patches.reserve(m_patches.size());
    for (const Patch &patch : m_patches) {
        QImage pixels = change(patch.pixels);
        if (pixels.size() != patch.rect.size())
            return FacePatches(m_size);
        patches.push_back({patch.rect, std::move(pixels)});
    }
    // The new pixels may still be the old ones.
    return FacePatches(m_size, std::move(patches), m_owner);
}
