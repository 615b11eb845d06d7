#include "app/PngRowWriter.h"

#include <QFile>
#include <QtEndian>

#include <zlib.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t ChunkBytes = 32 * 1024;
// A window of 16 KB still reaches the row above in windows up to 4096 pixels wide, where most
// of a face repeats; the default 32 KB and its larger tables would double what deflate holds.
constexpr int WindowBits = 14;
constexpr int MemoryLevel = 7;
constexpr unsigned char SubFilter = 1;

} // namespace

struct PngRowWriter::Stream {
    z_stream z{};
    bool live = false;
    ~Stream()
    {
        if (live)
            deflateEnd(&z);
    }
};

PngRowWriter::PngRowWriter() = default;

PngRowWriter::~PngRowWriter()
{
    discard();
}

void PngRowWriter::discard()
{
    m_stream.reset();
    if (m_file) {
        std::fclose(std::exchange(m_file, nullptr));
        // A file left half-written is no picture.
        QFile::remove(m_path);
    }
}

bool PngRowWriter::fail(const QString &why)
{
    m_error = why;
    discard();
    return false;
}

bool PngRowWriter::open(const QString &path, int width, int height)
{
    // PNG allows up to 2^31 - 1; a window is far smaller, and the row size must fit in memory.
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
        return fail(
            QStringLiteral("a picture of %1 x %2 pixels cannot be saved").arg(width).arg(height));
    m_path = path;
    m_width = width;
    m_height = height;
    m_rowsWritten = 0;
    m_file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!m_file)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    m_stream = std::make_unique<Stream>();
    if (deflateInit2(&m_stream->z, Z_BEST_SPEED, Z_DEFLATED, WindowBits, MemoryLevel,
                     Z_DEFAULT_STRATEGY)
        != Z_OK)
        return fail(QStringLiteral("the compressor could not be started"));
    m_stream->live = true;
    m_row.assign(1 + 4 * std::size_t(width), 0);
    m_out.assign(ChunkBytes, 0);
    m_stream->z.next_out = m_out.data();
    m_stream->z.avail_out = uInt(m_out.size());

    static constexpr unsigned char Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::fwrite(Signature, 1, sizeof Signature, m_file) != sizeof Signature)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    std::array<unsigned char, 13> header{};
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 6; // RGBA
    // Compression, filter method and interlacing: the only ones there are, none.
    return writeChunk("IHDR", header.data(), header.size());
}

bool PngRowWriter::writeChunk(const char type[4], const unsigned char *data, std::size_t size)
{
    unsigned char head[8];
    qToBigEndian(quint32(size), head);
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0, head + 4, 4);
    if (size > 0)
        crc = crc32(crc, data, uInt(size));
    unsigned char tail[4];
    qToBigEndian(quint32(crc), tail);
    if (std::fwrite(head, 1, 8, m_file) != 8
        || (size > 0 && std::fwrite(data, 1, size, m_file) != size)
        || std::fwrite(tail, 1, 4, m_file) != 4)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
}

bool PngRowWriter::deflateRow(const unsigned char *data, std::size_t size, bool last)
{
    z_stream &z = m_stream->z;
    z.next_in = const_cast<unsigned char *>(data);
    z.avail_in = uInt(size);
    for (;;) {
        const int result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            return fail(QStringLiteral("the compressor failed"));
        if (z.avail_out == 0 || (last && result == Z_STREAM_END)) {
            const std::size_t ready = m_out.size() - z.avail_out;
            if (ready > 0 && !writeChunk("IDAT", m_out.data(), ready))
                return false;
            z.next_out = m_out.data();
            z.avail_out = uInt(m_out.size());
        }
        if (last ? result == Z_STREAM_END : z.avail_in == 0)
            return true;
    }
}

bool PngRowWriter::writeRow(const QRgb *row)
{
    if (!m_file || !m_stream)
        return fail(m_error.isEmpty() ? QStringLiteral("no file is open") : m_error);
    if (m_rowsWritten >= m_height)
        return fail(QStringLiteral("more rows than the picture has"));
    unsigned char *out = m_row.data();
    out[0] = SubFilter;
    unsigned char previous[4] = {0, 0, 0, 0};
    for (int x = 0; x < m_width; ++x) {
        const QRgb pixel = row[x];
        const unsigned char rgba[4]
            = {static_cast<unsigned char>(qRed(pixel)), static_cast<unsigned char>(qGreen(pixel)),
               static_cast<unsigned char>(qBlue(pixel)), static_cast<unsigned char>(qAlpha(pixel))};
        unsigned char *to = out + 1 + 4 * std::size_t(x);
        for (int c = 0; c < 4; ++c) {
            to[c] = static_cast<unsigned char>(rgba[c] - previous[c]);
            previous[c] = rgba[c];
        }
    }
    ++m_rowsWritten;
    return deflateRow(m_row.data(), m_row.size(), false);
}

bool PngRowWriter::finish()
{
    if (!m_file || !m_stream)
        return fail(m_error.isEmpty() ? QStringLiteral("no file is open") : m_error);
    if (m_rowsWritten != m_height)
        return fail(
            QStringLiteral("only %1 of %2 rows were written").arg(m_rowsWritten).arg(m_height));
    if (!deflateRow(nullptr, 0, true) || !writeChunk("IEND", nullptr, 0))
        return false;
    // fail() closes and removes the file while it is still open.
    if (std::fflush(m_file) != 0 || std::ferror(m_file))
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    m_stream.reset();
    if (std::fclose(std::exchange(m_file, nullptr)) != 0) {
        const int error = errno;
        QFile::remove(m_path);
        return fail(QString::fromLocal8Bit(std::strerror(error)));
    }
    return true;
}
