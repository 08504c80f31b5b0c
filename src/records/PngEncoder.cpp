#include "records/PngEncoder.h"

#include "records/RunDeflater.h"

#include <QImage>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
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

// The first x from `from` where `row` and `above` differ, a word at a time; `width` for none.
template <typename Pixel>
std::size_t firstDifference(const Pixel* row, const Pixel* above, std::size_t from, std::size_t width) {
    static_assert(8 % sizeof(Pixel) == 0 && std::endian::native == std::endian::little);
    constexpr std::size_t PerWord = 8 / sizeof(Pixel);
    std::size_t x = from;
    for (; x + PerWord <= width; x += PerWord) {
        std::uint64_t mine;
        std::uint64_t theirs;
        std::memcpy(&mine, row + x, 8);
        std::memcpy(&theirs, above + x, 8);
        if (const std::uint64_t differs = mine ^ theirs)
            return x + static_cast<std::size_t>(std::countr_zero(differs)) / (8 * sizeof(Pixel));
    }
    while (x < width && row[x] == above[x])
        ++x;
    return x;
}

// The rows, each stored with the filter type "Up": every byte minus the one above it (zeros above
// the first row). `rowOf(y)` gives the pixels of row y, `bytesOf(pixel, out)` puts a pixel's
// `Bytes` bytes. Pixels equal to the one above give zeros, which go to the deflater as runs
// without being made: in a chart nearly all of them.
template <typename Pixel, std::size_t Bytes, typename RowOf, typename BytesOf>
void putRows(QByteArray& png, std::size_t width, int height, RowOf rowOf, BytesOf bytesOf) {
    TRunDeflater deflater;
    std::vector<unsigned char> differing(width * Bytes);
    constexpr unsigned char Up = 2;
    for (int y = 0; y < height; ++y) {
        const Pixel* row = rowOf(y);
        const Pixel* above = y > 0 ? rowOf(y - 1) : nullptr;
        deflater.write(&Up, 1);
        std::size_t x = 0;
        while (x < width) {
            const std::size_t same = above ? firstDifference(row, above, x, width) : x;
            if (same > x) {
                deflater.writeRun(0, (same - x) * Bytes);
                x = same;
                continue;
            }
            unsigned char* out = differing.data();
            for (; x < width && !(above && row[x] == above[x]); ++x, out += Bytes) {
                unsigned char mine[Bytes];
                unsigned char theirs[Bytes] = {};
                bytesOf(row[x], mine);
                if (above)
                    bytesOf(above[x], theirs);
                for (std::size_t i = 0; i < Bytes; ++i)
                    out[i] = static_cast<unsigned char>(mine[i] - theirs[i]);
            }
            deflater.write(differing.data(), static_cast<std::size_t>(out - differing.data()));
        }
    }
    const std::vector<unsigned char> idat = deflater.finish();
    for (std::size_t at = 0; at < idat.size(); at += IdatSize)
        putChunk(png, "IDAT", idat.data() + at, std::min(IdatSize, idat.size() - at));
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
        putRows<unsigned char, 1>(
            png, width, image.height(), [&](int y) { return indices + static_cast<std::size_t>(y) * width; },
            [](unsigned char index, unsigned char* out) { out[0] = index; });
    } else {
        putHeader(png, image, 2);
        putRows<QRgb, 3>(
            png, width, image.height(),
            [&](int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); },
            [](QRgb pixel, unsigned char* out) {
                out[0] = static_cast<unsigned char>(qRed(pixel));
                out[1] = static_cast<unsigned char>(qGreen(pixel));
                out[2] = static_cast<unsigned char>(qBlue(pixel));
            });
    }
    putChunk(png, "IEND", nullptr, 0);
    return png;
}
