#pragma once

#include "layout/SkinSet.h"
#include "skin/SkinImages.h"

#include <QImage>
#include <QString>

#include <map>
#include <memory>
#include <vector>

// The skin bitmaps of the resource library Quillores.rcc, mapped and registered once at
// start-up and checked before any window opens, then read by numeric id. The built library
// stores them zstd-packed: the first window's faces (but its hover image) are unpacked on
// loading, straight into their images; the other dialogs' are checked then and unpacked when first
// asked for, or beforehand in idle time (unpackPending), so that unpacking them never delays the
// start. Raw bitmaps are used in place in the mapped file, and the images handed out keep the
// mapping alive after the library itself is gone. Not thread-safe: loaded on one thread, then used
// on one.
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
    // program uses for the variant; the main window's are unpacked at once.
    bool load(const QString &folder, int deviceType);
    // The same for any library file and any sets (plus single bitmaps such as the scroll bar);
    // the first `eagerSets` sets (but their hover images) and the singles are unpacked at once.
    bool loadFile(const QString &path, const std::vector<SkinSet> &sets,
                  const std::vector<int> &singles, std::size_t eagerSets = std::size_t(-1));
    // Unpacks one face not unpacked yet; false when none is left.
    bool unpackPending();

    Error error() const { return m_error; }
    int errorBitmap() const { return m_errorBitmap; }
    // What went wrong, for a message box before any window exists.
    QString errorText(bool chinese) const;

    // A loaded bitmap, or a null image for an id that was not loaded (or, very rarely, whose
    // rows turn out damaged when it is unpacked late).
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
        // A packed face still to be unpacked: its frame in the mapping, and its size.
        const uchar *frame = nullptr;
        std::size_t frameSize = 0;
        QSize size;
    };

    bool map(const QString &path);
    bool fail(Error error, int bitmap = 0, QSize found = {}, QSize expected = {});
    Error loadBitmap(int id, bool unpackNow);
    static void unpack(Bitmap &bitmap, int id);
    static QSize sizeOf(const Bitmap &bitmap);
    void unregister();

    QString m_path;
    std::shared_ptr<Mapping> m_mapping;
    // Faces unpacked late change here, behind const lookups.
    mutable std::map<int, Bitmap> m_bitmaps;
    Error m_error = Error::None;
    int m_errorBitmap = 0;
    QSize m_found;
    QSize m_expected;
};
