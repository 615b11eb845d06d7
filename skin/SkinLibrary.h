#pragma once

#include "layout/SkinSet.h"
#include "skin/SkinImages.h"

#include <QImage>
#include <QString>

class QResource;

#include <map>
#include <memory>
#include <vector>

// The skin bitmaps of the resource library Quillores.rcc, mapped and registered once at
// start-up and checked before any window opens, then read by numeric id. The built library
// stores them zstd-packed, the hover and checked faces only where they differ from their
// backgrounds (as patches). The first window's faces but its hover face are unpacked on loading
// and kept; every other face is unpacked anew each time it is asked for, so that they cost memory
// only while the window holding them is open. Raw bitmaps are used in place in the mapped file, and
// the images handed out keep the mapping alive after the library itself is gone. Not
// thread-safe: loaded on one thread, then used on one.
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
    // the first `eagerSets` sets (but their hover faces) and the singles are unpacked at once
    // and kept.
    bool loadFile(const QString &path, const std::vector<SkinSet> &sets,
                  const std::vector<int> &singles, std::size_t eagerSets = std::size_t(-1));

    Error error() const { return m_error; }
    int errorBitmap() const { return m_errorBitmap; }
    // What went wrong, for a message box before any window exists.
    QString errorText(bool chinese) const;

    // A loaded bitmap, or a null image for an id that was not loaded (or, very rarely, whose
    // rows turn out damaged when it is unpacked late). A hover or checked face comes whole,
    // over its background.
    QImage bitmap(int id) const;
    // bitmap(), which the library then no longer keeps unpacked: for a face its window draws
    // over. Asked for again, it is unpacked again.
    QImage takeBitmap(int id);
    // A hover or checked face as patches (a whole bitmap as one), null as bitmap() would be.
    FacePatches patches(int id) const;
    SkinImages images(const SkinSet &set) const;
    // Whether a loaded bitmap's pixels are used where they lie in the mapped file, rather than
    // copied or unpacked (raw libraries' aligned bitmaps are; the built library packs them).
    bool isInPlace(int id) const;

private:
    struct Mapping;
    struct Bitmap {
        QImage image;       // a bitmap kept
        FacePatches stored; // patches kept
        bool isPatches = false;
        bool inPlace = false;
        bool damaged = false; // found so when unpacked late: asked for no more
        int background = 0;   // of the first set a hover or checked face belongs to
        // A packed face unpacked whenever it is asked for: its frame in the mapping, its size.
        const uchar *frame = nullptr;
        std::size_t frameSize = 0;
        const uchar *unpackedFrom = nullptr; // the frame of a face unpacked and kept
        QSize size;
    };

    bool map(const QString &path);
    bool fail(Error error, int bitmap = 0, QSize found = {}, QSize expected = {});
    Error loadBitmap(int id, bool unpackNow);
    Error loadStored(Bitmap &bitmap, const QResource &resource);
    // The face of a frame, unpacked into `bitmap` when it is to be kept.
    static bool unpackInto(Bitmap &bitmap, int id);
    static void reportDamaged(Bitmap &bitmap, int id);
    static QSize sizeOf(const Bitmap &bitmap);
    void unregister();

    QString m_path;
    std::shared_ptr<Mapping> m_mapping;
    // A face found damaged when unpacked late is marked so, behind const lookups.
    mutable std::map<int, Bitmap> m_bitmaps;
    Error m_error = Error::None;
    int m_errorBitmap = 0;
    QSize m_found;
    QSize m_expected;
};
