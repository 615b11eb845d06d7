#pragma once

#include <QImage>
#include <QRect>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRegion;

// A hover or checked face kept only where it differs from its background: the frame copies
// these faces inside entries' rectangles only, and everywhere else they are the background.
// Patches lie by rising top edge; copies share their pixels.
class FacePatches {
public:
    struct Patch {
        QRect rect;
        QImage pixels;
    };

    FacePatches() = default;
    // A face of `size` that is its background everywhere.
    explicit FacePatches(const QSize &size);
    // A whole face as one patch, for faces that do not come from the library.
    FacePatches(const QImage &whole); // NOLINT(google-explicit-constructor)
    // Patches over a face of `size`, by rising top edge; their pixels may lie in memory that
    // `owner` keeps.
    FacePatches(const QSize &size, std::vector<Patch> patches, std::shared_ptr<const void> owner);

    // Stored patches (as the skin library holds them) read where they lie, which must be
    // 4-byte aligned and stay while `owner` lives; a null face when they are not valid ones.
    static FacePatches fromStored(const unsigned char *stored, std::size_t size,
                                  std::shared_ptr<const void> owner);
    // The pixels of `face` inside `region`, copied into memory of their own.
    static FacePatches cut(const QImage &face, const QRegion &region);

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    const std::vector<Patch> &patches() const { return m_patches; }
    // The memory the pixels take.
    std::size_t byteCount() const;

    // Draws the face's pixels inside `rect` at the same place, in the painter's composition
    // mode: the background's, then the patches' over them.
    void copy(QPainter &painter, const QRect &rect, const QImage &background) const;
    // The patches' pixels alone inside `rect`.
    void paint(QPainter &painter, const QRect &rect) const;
    // The whole face over `background`.
    QImage toImage(const QImage &background) const;
    // Every patch's pixels passed through `change`, which keeps their size.
    FacePatches transformed(const std::function<QImage(const QImage &)> &change) const;

private:
    QSize m_size;
    std::vector<Patch> m_patches;
    int m_tallest = 0;
    std::shared_ptr<const void> m_owner;
};
