#pragma once

#include <QRgb>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

// Writes a picture to a PNG file a row at a time, so that a window-sized picture never has to be
// held whole. Rows are Qt's ARGB32 (not premultiplied) and are saved as 8-bit RGBA, each with the
// cheap "Sub" filter and the fastest deflate level: pictures to look at, written while a
// program waits to end.
class PngRowWriter {
public:
    PngRowWriter();
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter &) = delete;
    PngRowWriter &operator=(const PngRowWriter &) = delete;

    // Creates `path` (replacing what is there) for a picture of `width` x `height`.
    bool open(const QString &path, int width, int height);
    // The next row, of the width given to open().
    bool writeRow(const QRgb *row);
    // Ends the file; false unless every row was written and the file was saved whole.
    bool finish();
    // Why the last call failed.
    const QString &error() const { return m_error; }

private:
    // Closes and removes a file not yet saved whole.
    void discard();
    bool fail(const QString &why);
    bool writeChunk(const char type[4], const unsigned char *data, std::size_t size);
    bool deflateRow(const unsigned char *data, std::size_t size, bool last);

    struct Stream;
    std::unique_ptr<Stream> m_stream;
    std::FILE *m_file = nullptr;
    QString m_path;
    QString m_error;
    int m_width = 0;
    int m_height = 0;
    int m_rowsWritten = 0;
    std::vector<unsigned char> m_row; // the filtered row: filter byte, then RGBA
    std::vector<unsigned char> m_out; // deflated bytes waiting to become an IDAT chunk
};
