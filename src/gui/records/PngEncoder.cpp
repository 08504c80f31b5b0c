// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/PngEncoder.h"

#include <QImage>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// The compressed data goes out in chunks of this size, so no chunk nears the format's 2^31 limit.
constexpr std::size_t IdatSize = 256 * 1024;
// Filtered rows go to zlib in pieces of about this size (at least a row): few calls, still cached.
constexpr std::size_t PieceSize = 256 * 1024;

// The deflater's settings, measured on charts of 1600 × 1000 against Qt's writer: level 4 (the
// fastest with lazy matching), but going on to the longest match on a short chain, since a row of a
// chart is mostly a long repeat of the row above. As small as Qt's files in well under half its time.
// A small hash table costs less to slide along and finds as much in pictures this regular.
constexpr int Level = 4;
constexpr int MemoryLevel = 5;
constexpr int GoodLength = 4;
constexpr int MaxLazy = 16;
constexpr int NiceLength = 258;
constexpr int MaxChain = 16;

constexpr unsigned char FilterSub = 1;
constexpr unsigned char FilterUp = 2;

void put32(QByteArray& out, std::uint32_t v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void putChunk(QByteArray& out, const char (&type)[5], const unsigned char* data, std::size_t size) {
    put32(out, static_cast<std::uint32_t>(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    if (size > 0)
        out.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto* typed = reinterpret_cast<const Bytef*>(out.constData() + start);
    put32(out, static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), typed, static_cast<uInt>(size + 4))));
}

void putHeader(QByteArray& png, const QImage& image) {
    std::array<unsigned char, 13> header{};
    const auto big = [&header](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            header[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
    };
    big(0, static_cast<std::uint32_t>(image.width()));
    big(4, static_cast<std::uint32_t>(image.height()));
    header[8] = 8;  // bits per sample
    header[9] = 2;  // RGB
    header[10] = 0; // deflate
    header[11] = 0; // one filter type per row
    header[12] = 0; // not interlaced
    putChunk(png, "IHDR", header.data(), header.size());
}

// The zlib stream of the image data, put out as IDAT chunks while it is made.
class TIdatStream {
public:
    explicit TIdatStream(QByteArray& png) : m_png(png), m_out(IdatSize) {
        m_ok = deflateInit2(&m_stream, Level, Z_DEFLATED, MAX_WBITS, MemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK;
        m_ok = m_ok && deflateTune(&m_stream, GoodLength, MaxLazy, NiceLength, MaxChain) == Z_OK;
        m_stream.next_out = m_out.data();
        m_stream.avail_out = static_cast<uInt>(m_out.size());
    }
    TIdatStream(const TIdatStream&) = delete;
    TIdatStream& operator=(const TIdatStream&) = delete;
    ~TIdatStream() { deflateEnd(&m_stream); }

    bool write(const unsigned char* data, std::size_t size) { return run(data, size, Z_NO_FLUSH); }
    bool finish() {
        if (!run(nullptr, 0, Z_FINISH))
            return false;
        putOut();
        return true;
    }

private:
    bool run(const unsigned char* data, std::size_t size, int flush) {
        if (!m_ok)
            return false;
        m_stream.next_in = const_cast<Bytef*>(data);
        m_stream.avail_in = static_cast<uInt>(size);
        for (;;) {
            const int result = deflate(&m_stream, flush);
            if (result == Z_STREAM_END)
                return true;
            if (result != Z_OK && result != Z_BUF_ERROR)
                return m_ok = false;
            if (m_stream.avail_out == 0) {
                putOut();
                continue;
            }
            if (flush == Z_NO_FLUSH && m_stream.avail_in == 0)
                return true;
            // Room for output, yet no end: zlib is stuck.
            return m_ok = false;
        }
    }

    void putOut() {
        const std::size_t used = m_out.size() - m_stream.avail_out;
        if (used > 0)
            putChunk(m_png, "IDAT", m_out.data(), used);
        m_stream.next_out = m_out.data();
        m_stream.avail_out = static_cast<uInt>(m_out.size());
    }

    QByteArray& m_png;
    std::vector<unsigned char> m_out;
    z_stream m_stream{};
    bool m_ok = false;
};

// A pixel's colour bytes less another's, as a filtered row stores them.
inline void putDifference(QRgb pixel, QRgb before, unsigned char* out) {
    out[0] = static_cast<unsigned char>(qRed(pixel) - qRed(before));
    out[1] = static_cast<unsigned char>(qGreen(pixel) - qGreen(before));
    out[2] = static_cast<unsigned char>(qBlue(pixel) - qBlue(before));
}

// Each row stored as its difference to the row above ("Up") or to the pixel on its left ("Sub"),
// whichever leaves fewer pixels that are not zero. In a chart's flat colours that count picks as
// well as the usual sum of differences and costs a fraction of it; the other filters (None,
// Average, Paeth) seldom win on a chart and cost time.
bool putRows(QByteArray& png, const QImage& image) {
    const auto width = static_cast<std::size_t>(image.width());
    const std::size_t rowBytes = width * 3 + 1;
    const std::size_t rowsPerPiece = std::max<std::size_t>(1, PieceSize / rowBytes);
    std::vector<unsigned char> piece(rowsPerPiece * rowBytes);
    const std::vector<QRgb> blank(width, 0); // above the first row
    TIdatStream stream(png);
    unsigned char* out = piece.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const QRgb* above = y > 0 ? reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) : blank.data();
        std::size_t changedFromAbove = 0;
        for (std::size_t x = 0; x < width; ++x)
            changedFromAbove += row[x] != above[x];
        std::size_t changedFromLeft = row[0] != 0;
        for (std::size_t x = 1; x < width && changedFromLeft < changedFromAbove; ++x)
            changedFromLeft += row[x] != row[x - 1];
        unsigned char* bytes = out + 1;
        if (changedFromAbove <= changedFromLeft) {
            out[0] = FilterUp;
            for (std::size_t x = 0; x < width; ++x, bytes += 3)
                putDifference(row[x], above[x], bytes);
        } else {
            out[0] = FilterSub;
            putDifference(row[0], 0, bytes);
            for (std::size_t x = 1; x < width; ++x)
                putDifference(row[x], row[x - 1], bytes + 3 * x);
        }
        out += rowBytes;
        if (out == piece.data() + piece.size() || y + 1 == image.height()) {
            if (!stream.write(piece.data(), static_cast<std::size_t>(out - piece.data())))
                return false;
            out = piece.data();
        }
    }
    return stream.finish();
}

} // namespace

QByteArray EncodePng(const QImage& source) {
    if (source.isNull())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QByteArray png;
    png.append("\x89PNG\r\n\x1a\n", 8);
    putHeader(png, image);
    if (!putRows(png, image))
        return {};
    putChunk(png, "IEND", nullptr, 0);
    return png;
}
