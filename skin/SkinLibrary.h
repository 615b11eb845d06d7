#pragma once

#include "skin/SkinImages.h"
#include "skin/SkinSet.h"

#include <QImage>
#include <QString>

#include <map>
#include <memory>
#include <vector>

// The skin bitmaps of the resource library Quillores.rcc, mapped and registered once at
// start-up and checked before any window opens, then read by numeric id. The built library
// stores them zstd-packed, unpacked on loading straight into their images; raw bitmaps are
// used in place in the mapped file, and the images handed out keep the mapping alive after the
// library itself is gone.
class SkinLibrary {
public:
    static constexpr const char *FileName = "Quillores.rcc";

    enum class Error {
        None,
        FileMissing,    // no library where it belongs
        FileUnreadable, // present but not a resource library
        BitmapMissing,  // a bitmap the program needs is not in it
        BitmapDamaged,  // a bitmap is there but cannot be read
        BitmapSize,     // a hover or checked image differs from its background, or a bad scroll bar
    };

    SkinLibrary() = default;
    SkinLibrary(const SkinLibrary &) = delete;
    SkinLibrary &operator=(const SkinLibrary &) = delete;
    ~SkinLibrary();

    // Registers Quillores.rcc from a folder (the program's) and loads every bitmap the
    // program uses for the variant.
    bool load(const QString &folder, int deviceType);
    // The same for any library file and any sets (plus single bitmaps such as the scroll bar).
    bool loadFile(const QString &path, const std::vector<SkinSet> &sets,
                  const std::vector<int> &singles);

    Error error() const { return m_error; }
    int errorBitmap() const { return m_errorBitmap; }
    // What went wrong, for a message box before any window exists.
    QString errorText(bool chinese) const;

    // A loaded bitmap, or a null image for an id that was not loaded.
    QImage bitmap(int id) const;
    SkinImages images(const SkinSet &set) const;
    // Whether a loaded bitmap's pixels are used where they lie in the mapped file, rather than
    // copied or unpacked (raw libraries' aligned bitmaps are; the built library packs them).
    bool isInPlace(int id) const;

private:
    struct Mapping;
    struct Bitmap {
        QImage image;
        bool inPlace = false;
    };

    bool map(const QString &path);
    bool fail(Error error, int bitmap = 0, QSize found = {}, QSize expected = {});
    Error loadBitmap(int id);
    void unregister();

    QString m_path;
    std::shared_ptr<Mapping> m_mapping;
    std::map<int, Bitmap> m_bitmaps;
    Error m_error = Error::None;
    int m_errorBitmap = 0;
    QSize m_found;
    QSize m_expected;
};
