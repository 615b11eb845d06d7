#include "skin/SkinLibrary.h"

#include "skin/FaceBuffer.h"
#include "skin/PackedFace.h"
#include "skin/SkinFaceFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>

#include <cstring>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

// The library file mapped into memory and registered under a root of its own, so that two
// libraries alive at once never answer for each other.
struct SkinLibrary::Mapping {
    QFile file;
    uchar *data = nullptr;
    qint64 size = 0;
    QString root;
    bool registered = false;

    ~Mapping()
    {
        if (registered)
            QResource::unregisterResource(data, root);
        if (data)
            file.unmap(data);
    }

    // The pages read so far (the checks, the faces unpacked at once) stay in the system's file
    // cache; the process need not count them as its own until a window reads them again.
    void letPagesGo() const
    {
#ifdef __linux__
        if (data)
            madvise(data, std::size_t(size), MADV_DONTNEED);
#endif
    }

    bool contains(const uchar *from, qint64 length) const
    {
        return from >= data && length >= 0 && from - data <= size - length;
    }
};

namespace {

// What an image handed out holds on to: the mapping its pixels lie in, or the unpacked bytes.
struct PixelOwner {
    std::shared_ptr<void> mapping;
    QByteArray unpacked;
};

void releasePixels(void *owner)
{
    delete static_cast<PixelOwner *>(owner);
}

std::uint32_t bigEndian(const uchar *at)
{
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8
           | at[3];
}

// The checks Qt makes when it registers a file itself; registering memory makes none.
bool isResourceFile(const uchar *data, qint64 size)
{
    if (size < 20 || std::memcmp(data, "qres", 4) != 0)
        return false;
    const std::uint32_t version = bigEndian(data + 4);
    if (version < 1 || version > 3)
        return false;
    for (int offset : {8, 12, 16}) {
        if (bigEndian(data + offset) >= std::uint64_t(size))
            return false;
    }
    return true;
}

} // namespace

SkinLibrary::~SkinLibrary()
{
    unregister();
}

void SkinLibrary::unregister()
{
    // Images still in use keep the mapping until they are gone.
    m_bitmaps.clear();
    m_mapping.reset();
}

bool SkinLibrary::load(const QString &folder, int deviceType)
{
    // The main window's set comes first.
    return loadFile(QDir(folder).filePath(QLatin1String(FileName)),
                    SkinIds::programSkinSets(deviceType), {SkinIds::ScrollBar}, 1);
}

bool SkinLibrary::map(const QString &path)
{
    auto mapping = std::make_shared<Mapping>();
    mapping->file.setFileName(path);
    if (!mapping->file.open(QIODevice::ReadOnly))
        return false;
    mapping->size = mapping->file.size();
    if (mapping->size <= 0)
        return false;
    mapping->data = mapping->file.map(0, mapping->size);
    if (!mapping->data || !isResourceFile(mapping->data, mapping->size))
        return false;
    mapping->root = QStringLiteral("/quillores-%1").arg(quintptr(mapping->data), 0, 16);
    mapping->registered = QResource::registerResource(mapping->data, mapping->root);
    if (!mapping->registered)
        return false;
    m_mapping = std::move(mapping);
    return true;
}

bool SkinLibrary::loadFile(const QString &path, const std::vector<SkinSet> &sets,
                           const std::vector<int> &singles, std::size_t eagerSets)
{
    unregister();
    m_path = path;
    m_error = Error::None;
    if (!QFileInfo(path).isFile())
        return fail(Error::FileMissing);
    if (!map(path))
        return fail(Error::FileUnreadable);

    for (std::size_t i = 0; i < sets.size(); ++i) {
        const SkinSet &set = sets[i];
        for (int id : {set.background, set.hover, set.checked}) {
            // The hover face waits too: the first frame does not show it.
            const bool now = i < eagerSets && (id != set.hover || id == set.background);
            if (const Error error = loadBitmap(id, now); error != Error::None)
                return fail(error, id);
        }
        // A background is a bitmap; the highlights are copied over it.
        if (m_bitmaps[set.background].isPatches)
            return fail(Error::BitmapDamaged, set.background);
        const QSize size = sizeOf(m_bitmaps[set.background]);
        for (int id : {set.hover, set.checked}) {
            Bitmap &bitmap = m_bitmaps[id];
            if (bitmap.background == 0 && id != set.background)
                bitmap.background = set.background;
            const QSize found = sizeOf(bitmap);
            if (found != size)
                return fail(Error::BitmapSize, id, found, size);
        }
    }
    for (int id : singles) {
        if (const Error error = loadBitmap(id, true); error != Error::None)
            return fail(error, id);
        if (m_bitmaps[id].isPatches)
            return fail(Error::BitmapDamaged, id);
        const QImage &image = m_bitmaps[id].image;
        // Single bitmaps are cell sheets of 9 x 3 square cells.
        const int cell = image.width() / 9;
        if (cell == 0 || image.width() != 9 * cell || image.height() != 3 * cell)
            return fail(Error::BitmapSize, id, image.size(), QSize(9 * cell, 3 * cell));
    }
    m_mapping->letPagesGo();
    return true;
}

SkinLibrary::Error SkinLibrary::loadBitmap(int id, bool unpackNow)
{
    if (const auto it = m_bitmaps.find(id); it != m_bitmaps.end()) {
        // Kept from now on when a set loaded first shares it.
        if (unpackNow && it->second.frame && !unpackInto(it->second, id))
            return Error::BitmapDamaged;
        return Error::None;
    }
    const QResource resource(QStringLiteral(":%1/skins/%2.face").arg(m_mapping->root).arg(id));
    if (!resource.isValid())
        return Error::BitmapMissing;
    // Qt trusts the offsets inside the file; a damaged one must not send it elsewhere.
    if (!m_mapping->contains(resource.data(), resource.size()))
        return Error::BitmapDamaged;

    Bitmap bitmap;
    if (resource.compressionAlgorithm() == QResource::ZstdCompression) {
        // Unpacked by ourselves: in one pass into the face's own memory.
        bitmap.frame = resource.data();
        bitmap.frameSize = std::size_t(resource.size());
        bitmap.size = PackedFace::peek(bitmap.frame, bitmap.frameSize, &bitmap.isPatches);
        if (!bitmap.size.isValid())
            return Error::BitmapDamaged;
        if (unpackNow && !unpackInto(bitmap, id))
            return Error::BitmapDamaged;
    } else if (const Error error = loadStored(bitmap, resource); error != Error::None) {
        return error;
    }
    m_bitmaps[id] = std::move(bitmap);
    return Error::None;
}

SkinLibrary::Error SkinLibrary::loadStored(Bitmap &bitmap, const QResource &resource)
{
    auto owner = std::make_unique<PixelOwner>();
    const uchar *data = resource.data();
    qint64 size = resource.size();
    const bool packed = resource.compressionAlgorithm() != QResource::NoCompression;
    if (packed) {
        owner->unpacked = resource.uncompressedData();
        data = reinterpret_cast<const uchar *>(owner->unpacked.constData());
        size = owner->unpacked.size();
    } else {
        owner->mapping = m_mapping;
    }

    if (SkinFaceFormat::readPatchHeader(data, std::size_t(size))) {
        bitmap.isPatches = true;
        if (reinterpret_cast<quintptr>(data) % 4 == 0) {
            bitmap.stored = FacePatches::fromStored(data, std::size_t(size),
                                                    std::shared_ptr<PixelOwner>(std::move(owner)));
            bitmap.inPlace = !packed;
        } else {
            // Records and rows must be 4-byte aligned to be read as they lie.
            std::shared_ptr<void> copy(FaceBuffer::allocate(std::size_t(size)),
                                       FaceBuffer::release);
            if (!copy)
                return Error::BitmapDamaged;
            std::memcpy(copy.get(), data, std::size_t(size));
            bitmap.stored = FacePatches::fromStored(static_cast<const uchar *>(copy.get()),
                                                    std::size_t(size), copy);
        }
        return bitmap.stored.isNull() ? Error::BitmapDamaged : Error::None;
    }

    const auto header = SkinFaceFormat::read(data, std::size_t(size));
    if (!header)
        return Error::BitmapDamaged;
    const uchar *pixels = data + SkinFaceFormat::HeaderSize;
    const int width = int(header->width);
    const int height = int(header->height);
    const qsizetype bytesPerLine = header->bytesPerLine;
    if (reinterpret_cast<quintptr>(pixels) % 4 == 0) {
        // Read-only: a painter on it would work on a copy.
        bitmap.image = QImage(pixels, width, height, bytesPerLine,
                              QImage::Format_ARGB32_Premultiplied, releasePixels, owner.get());
        if (bitmap.image.isNull())
            return Error::BitmapDamaged;
        owner.release(); // the image releases it
        bitmap.inPlace = !packed;
    } else {
        // Rows must be 4-byte aligned to be used as they lie.
        bitmap.image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        if (bitmap.image.isNull())
            return Error::BitmapDamaged;
        for (int y = 0; y < height; ++y)
            std::memcpy(bitmap.image.scanLine(y), pixels + y * bytesPerLine, 4 * size_t(width));
    }
    return Error::None;
}

bool SkinLibrary::fail(Error error, int bitmap, QSize found, QSize expected)
{
    unregister();
    m_error = error;
    m_errorBitmap = bitmap;
    m_found = found;
    m_expected = expected;
    return false;
}

bool SkinLibrary::unpackInto(Bitmap &bitmap, int id)
{
    if (bitmap.isPatches)
        bitmap.stored = PackedFace::unpackPatches(bitmap.frame, bitmap.frameSize);
    else
        bitmap.image = PackedFace::unpack(bitmap.frame, bitmap.frameSize);
    bitmap.unpackedFrom = bitmap.frame;
    bitmap.frame = nullptr;
    const bool ok = bitmap.isPatches ? !bitmap.stored.isNull() : !bitmap.image.isNull();
    if (!ok)
        reportDamaged(bitmap, id);
    return ok;
}

void SkinLibrary::reportDamaged(Bitmap &bitmap, int id)
{
    // Asked for once: a damaged face stays empty rather than being unpacked at every open.
    bitmap.frame = nullptr;
    bitmap.damaged = true;
    qWarning("Quillo: skin bitmap %d is damaged and cannot be unpacked", id);
}

QSize SkinLibrary::sizeOf(const Bitmap &bitmap)
{
    if (bitmap.frame || bitmap.damaged)
        return bitmap.size;
    return bitmap.isPatches ? bitmap.stored.size() : bitmap.image.size();
}

QImage SkinLibrary::bitmap(int id) const
{
    const auto it = m_bitmaps.find(id);
    if (it == m_bitmaps.end())
        return QImage();
    Bitmap &bitmap = it->second;
    if (bitmap.isPatches) {
        const FacePatches face = patches(id);
        return face.isNull() ? QImage() : face.toImage(this->bitmap(bitmap.background));
    }
    if (!bitmap.frame)
        return bitmap.image;
    QImage image = PackedFace::unpack(bitmap.frame, bitmap.frameSize);
    if (image.isNull())
        reportDamaged(bitmap, id);
    return image;
}

QImage SkinLibrary::takeBitmap(int id)
{
    const auto it = m_bitmaps.find(id);
    if (it == m_bitmaps.end() || it->second.isPatches || !it->second.unpackedFrom
        || it->second.image.isNull())
        return bitmap(id);
    Bitmap &bitmap = it->second;
    bitmap.frame = std::exchange(bitmap.unpackedFrom, nullptr);
    return std::exchange(bitmap.image, QImage());
}

FacePatches SkinLibrary::patches(int id) const
{
    const auto it = m_bitmaps.find(id);
    if (it == m_bitmaps.end())
        return {};
    Bitmap &bitmap = it->second;
    if (!bitmap.isPatches)
        return FacePatches(this->bitmap(id));
    if (!bitmap.frame)
        return bitmap.stored;
    FacePatches face = PackedFace::unpackPatches(bitmap.frame, bitmap.frameSize);
    if (face.isNull())
        reportDamaged(bitmap, id);
    return face;
}

bool SkinLibrary::isInPlace(int id) const
{
    const auto it = m_bitmaps.find(id);
    return it != m_bitmaps.end() && it->second.inPlace;
}

SkinImages SkinLibrary::images(const SkinSet &set) const
{
    return {bitmap(set.background), patches(set.hover), patches(set.checked)};
}

QString SkinLibrary::errorText(bool chinese) const
{
    const QString file = QDir::toNativeSeparators(m_path);
    switch (m_error) {
    case Error::None:
        return {};
    case Error::FileMissing:
        return chinese ? QStringLiteral("找不到皮肤资源库“%1”。请重新安装 Quillo。").arg(file)
                       : QStringLiteral("The skin library \"%1\" was not found. Please "
                                        "reinstall Quillo.")
                             .arg(file);
    case Error::FileUnreadable:
        return chinese ? QStringLiteral("无法读取皮肤资源库“%1”，文件可能已损坏。请重新安装 "
                                        "Quillo。")
                             .arg(file)
                       : QStringLiteral("The skin library \"%1\" cannot be read; the file may "
                                        "be damaged. Please reinstall Quillo.")
                             .arg(file);
    case Error::BitmapMissing:
        return chinese ? QStringLiteral("皮肤资源库“%1”不完整：缺少位图 %2。请重新安装 Quillo。")
                             .arg(file)
                             .arg(m_errorBitmap)
                       : QStringLiteral("The skin library \"%1\" is incomplete: bitmap %2 is "
                                        "missing. Please reinstall Quillo.")
                             .arg(file)
                             .arg(m_errorBitmap);
    case Error::BitmapDamaged:
        return chinese
                   ? QStringLiteral("皮肤资源库“%1”已损坏：无法读取位图 %2。请重新安装 Quillo。")
                         .arg(file)
                         .arg(m_errorBitmap)
                   : QStringLiteral("The skin library \"%1\" is damaged: bitmap %2 cannot be "
                                    "read. Please reinstall Quillo.")
                         .arg(file)
                         .arg(m_errorBitmap);
    case Error::BitmapSize:
        return chinese ? QStringLiteral("皮肤资源库“%1”有误：位图 %2 的尺寸为 %3 × %4，应为 %5 "
                                        "× %6。请重新安装 Quillo。")
                             .arg(file)
                             .arg(m_errorBitmap)
                             .arg(m_found.width())
                             .arg(m_found.height())
                             .arg(m_expected.width())
                             .arg(m_expected.height())
                       : QStringLiteral("The skin library \"%1\" is inconsistent: bitmap %2 is "
                                        "%3 x %4 pixels instead of %5 x %6. Please reinstall "
                                        "Quillo.")
                             .arg(file)
                             .arg(m_errorBitmap)
                             .arg(m_found.width())
                             .arg(m_found.height())
                             .arg(m_expected.width())
                             .arg(m_expected.height());
    }
    return {};
}
