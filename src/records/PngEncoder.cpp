#include "records/PngEncoder.h"

#include <QImage>

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The compressed data goes out in chunks of this size, so no chunk nears the format's 2^31 limit.
constexpr std::size_t IdatSize = 256 * 1024;

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

// Deflates rows into IDAT chunks as the output buffer fills.
class TIdatStream {
public:
    explicit TIdatStream(QByteArray& png) : m_png(png), m_buffer(IdatSize) {
        // The fastest level: the differences to the row above are mostly long runs of zeros, which
        // it finds as well as the slower ones (measured on full-record charts: a quarter of the
        // time of the default level, and smaller than a search for runs alone).
        m_initialised = deflateInit2(&m_stream, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        m_ok = m_initialised;
        m_stream.next_out = m_buffer.data();
        m_stream.avail_out = static_cast<uInt>(m_buffer.size());
    }
    ~TIdatStream() {
        if (m_initialised)
            deflateEnd(&m_stream);
    }
    TIdatStream(const TIdatStream&) = delete;
    TIdatStream& operator=(const TIdatStream&) = delete;

    bool write(const unsigned char* data, std::size_t size) { return run(data, size, Z_NO_FLUSH); }
    bool finish() { return run(nullptr, 0, Z_FINISH); }

private:
    bool run(const unsigned char* data, std::size_t size, int flush) {
        if (!m_ok)
            return false;
        m_stream.next_in = const_cast<Bytef*>(data);
        m_stream.avail_in = static_cast<uInt>(size);
        for (;;) {
            const int result = deflate(&m_stream, flush);
            if (result == Z_STREAM_ERROR) {
                m_ok = false;
                return false;
            }
            if (m_stream.avail_out == 0)
                putFilled();
            if (flush == Z_FINISH ? result == Z_STREAM_END : m_stream.avail_in == 0) {
                if (flush == Z_FINISH)
                    putFilled();
                return true;
            }
        }
    }

    void putFilled() {
        const std::size_t filled = m_buffer.size() - m_stream.avail_out;
        if (filled > 0)
            putChunk(m_png, "IDAT", m_buffer.data(), filled);
        m_stream.next_out = m_buffer.data();
        m_stream.avail_out = static_cast<uInt>(m_buffer.size());
    }

    QByteArray& m_png;
    std::vector<unsigned char> m_buffer;
    z_stream m_stream{};
    bool m_initialised = false;
    bool m_ok = false;
};

// The image's colours when there are at most 256 of them, with every pixel as its index; none when
// there are more. Charts have few colours (lines without antialiasing, grey text), so their pixels
// take one byte instead of three.
struct TPalette {
    std::vector<QRgb> Colours;
    std::vector<unsigned char> Indices; // row after row
};

std::optional<TPalette> paletteOf(const QImage& image) {
    const auto width = static_cast<std::size_t>(image.width());
    const auto height = static_cast<std::size_t>(image.height());
    TPalette palette;
    palette.Indices.resize(width * height);
    // Open addressing over a table four times the largest palette: short probes, never full.
    constexpr std::size_t Slots = 1024;
    std::array<QRgb, Slots> keys{};
    std::array<int, Slots> values;
    values.fill(-1);
    QRgb last = 0;
    unsigned char lastIndex = 0;
    bool haveLast = false;
    for (std::size_t y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
        unsigned char* out = palette.Indices.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            const QRgb pixel = line[x] | 0xff000000u;
            if (haveLast && pixel == last) {
                out[x] = lastIndex;
                continue;
            }
            std::size_t slot = ((pixel * 2654435761u) >> 22) & (Slots - 1);
            while (values[slot] >= 0 && keys[slot] != pixel)
                slot = (slot + 1) & (Slots - 1);
            if (values[slot] < 0) {
                if (palette.Colours.size() == 256)
                    return std::nullopt;
                keys[slot] = pixel;
                values[slot] = static_cast<int>(palette.Colours.size());
                palette.Colours.push_back(pixel);
            }
            last = pixel;
            lastIndex = static_cast<unsigned char>(values[slot]);
            haveLast = true;
            out[x] = lastIndex;
        }
    }
    return palette;
}

void putHeader(QByteArray& png, const QImage& image, unsigned char colourType) {
    std::array<unsigned char, 13> header{};
    const auto big = [&header](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            header[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
    };
    big(0, static_cast<std::uint32_t>(image.width()));
    big(4, static_cast<std::uint32_t>(image.height()));
    header[8] = 8;          // bits per sample or index
    header[9] = colourType; // 2 RGB, 3 palette
    header[10] = 0;         // deflate
    header[11] = 0;         // one filter type per row
    header[12] = 0;         // not interlaced
    putChunk(png, "IHDR", header.data(), header.size());
}

// Rows of `rowBytes` bytes from `nextRow`, each stored with the filter type "Up": every byte minus
// the one above it (zeros above the first row).
template <typename NextRow> bool putRows(QByteArray& png, std::size_t rowBytes, int height, NextRow nextRow) {
    std::vector<unsigned char> above(rowBytes, 0);
    std::vector<unsigned char> filtered(1 + rowBytes);
    filtered[0] = 2;
    TIdatStream idat(png);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = nextRow(y);
        unsigned char* out = filtered.data() + 1;
        for (std::size_t i = 0; i < rowBytes; ++i)
            out[i] = static_cast<unsigned char>(row[i] - above[i]);
        if (!idat.write(filtered.data(), filtered.size()))
            return false;
        std::memcpy(above.data(), row, rowBytes);
    }
    return idat.finish();
}

} // namespace

QByteArray EncodePng(const QImage& source) {
    if (source.isNull())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto width = static_cast<std::size_t>(image.width());

    QByteArray png;
    png.append("\x89PNG\r\n\x1a\n", 8);
    if (const std::optional<TPalette> palette = paletteOf(image)) {
        putHeader(png, image, 3);
        std::vector<unsigned char> colours;
        for (const QRgb c : palette->Colours)
            colours.insert(colours.end(),
                           {static_cast<unsigned char>(qRed(c)), static_cast<unsigned char>(qGreen(c)),
                            static_cast<unsigned char>(qBlue(c))});
        putChunk(png, "PLTE", colours.data(), colours.size());
        const unsigned char* indices = palette->Indices.data();
        if (!putRows(png, width, image.height(),
                     [&](int y) { return indices + static_cast<std::size_t>(y) * width; }))
            return {};
    } else {
        putHeader(png, image, 2);
        std::vector<unsigned char> rgb(width * 3);
        const bool written = putRows(png, width * 3, image.height(), [&](int y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (std::size_t x = 0; x < width; ++x) {
                rgb[3 * x] = static_cast<unsigned char>(qRed(line[x]));
                rgb[3 * x + 1] = static_cast<unsigned char>(qGreen(line[x]));
                rgb[3 * x + 2] = static_cast<unsigned char>(qBlue(line[x]));
            }
            return rgb.data();
        });
        if (!written)
            return {};
    }
    putChunk(png, "IEND", nullptr, 0);
    return png;
}
