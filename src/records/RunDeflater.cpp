#include "records/RunDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

struct TCode {
    std::uint32_t Bits = 0; // first bit lowest, as the stream takes them
    int Count = 0;
};

// A Huffman code is sent from its highest bit down.
std::uint32_t reversed(std::uint32_t code, int count) {
    std::uint32_t out = 0;
    for (int i = 0; i < count; ++i)
        out |= ((code >> i) & 1u) << (count - 1 - i);
    return out;
}

// The fixed literal/length code of a symbol (RFC 1951, 3.2.6).
TCode fixedCode(int symbol) {
    if (symbol < 144)
        return {reversed(0x30u + symbol, 8), 8};
    if (symbol < 256)
        return {reversed(0x190u + (symbol - 144), 9), 9};
    if (symbol < 280)
        return {reversed(static_cast<std::uint32_t>(symbol - 256), 7), 7};
    return {reversed(0xc0u + (symbol - 280), 8), 8};
}

} // namespace

struct TRunDeflater::TTables {
    std::array<TCode, 256> Literals;
    // A match of each length at distance 1: length symbol, its extra bits, distance code 0.
    std::array<TCode, 259> Repeats;
};

const TRunDeflater::TTables& TRunDeflater::tables() {
    static const TRunDeflater::TTables built = [] {
        TRunDeflater::TTables t;
        for (int b = 0; b < 256; ++b)
            t.Literals[static_cast<std::size_t>(b)] = fixedCode(b);
        constexpr int Base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        constexpr int Extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (int length = 3; length <= 258; ++length) {
            int i = 28;
            while (Base[i] > length)
                --i;
            const TCode symbol = fixedCode(257 + i);
            TCode code;
            code.Bits = symbol.Bits | static_cast<std::uint32_t>(length - Base[i]) << symbol.Count;
            code.Count = symbol.Count + Extra[i] + 5; // the distance code of 1 is five zero bits
            t.Repeats[static_cast<std::size_t>(length)] = code;
        }
        return t;
    }();
    return built;
}

namespace {

// How many bytes from `p` equal `byte`, a word at a time.
std::size_t runOf(const unsigned char* p, std::size_t size, unsigned char byte) {
    static_assert(std::endian::native == std::endian::little);
    const std::uint64_t pattern = 0x0101010101010101ull * byte;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (const std::uint64_t differs = word ^ pattern)
            return i + static_cast<std::size_t>(std::countr_zero(differs) / 8);
    }
    while (i < size && p[i] == byte)
        ++i;
    return i;
}

} // namespace

void TRunDeflater::put(std::uint32_t bits, int count) {
    m_bits |= static_cast<std::uint64_t>(bits) << m_count;
    m_count += count;
    if (m_count >= 32) {
        const auto word = static_cast<std::uint32_t>(m_bits); // little-endian, as the stream
        std::memcpy(m_out.data() + m_used, &word, 4);
        m_used += 4;
        m_bits >>= 32;
        m_count -= 32;
    }
}

TRunDeflater::TRunDeflater() : m_tables(tables()) {
    m_out.resize(64);
    m_out[m_used++] = 0x78; // deflate, 32 KiB window
    m_out[m_used++] = 0x01; // no dictionary, header check
    put(1, 1);              // the last block, and the only one
    put(1, 2);              // fixed codes
}

void TRunDeflater::literal(unsigned char byte) {
    const TCode& code = m_tables.Literals[byte];
    put(code.Bits, code.Count);
    m_previous = byte;
}

void TRunDeflater::repeat(std::size_t length) {
    while (length >= 3) {
        std::size_t piece = std::min<std::size_t>(length, 258);
        // Never leave a rest of one or two, which no match can take.
        if (length - piece > 0 && length - piece < 3)
            piece = length - 3;
        const TCode& code = m_tables.Repeats[piece];
        put(code.Bits, code.Count);
        length -= piece;
    }
    for (; length > 0; --length)
        literal(static_cast<unsigned char>(m_previous));
}

void TRunDeflater::write(const unsigned char* data, std::size_t size) {
    if (size == 0)
        return;
    for (std::size_t at = 0; at < size;) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(size - at, 1u << 30));
        m_adler = static_cast<std::uint32_t>(adler32(m_adler, data + at, piece));
        at += piece;
    }
    reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char byte = data[i];
        if (byte == m_previous) {
            const std::size_t run = runOf(data + i, size - i, byte);
            repeat(run);
            i += run;
        } else {
            literal(byte);
            ++i;
        }
    }
}

void TRunDeflater::reserve(std::size_t bytes) {
    // At most 9 bits a byte, and the bits held back.
    const std::size_t needed = m_used + bytes + bytes / 8 + 16;
    if (needed > m_out.size())
        m_out.resize(std::max(needed, 2 * m_out.size()));
}

void TRunDeflater::writeRun(unsigned char byte, std::size_t count) {
    if (count == 0)
        return;
    // The checksum over `count` equal bytes, in closed form.
    constexpr std::uint64_t Base = 65521;
    std::uint64_t a = m_adler & 0xffffu;
    std::uint64_t b = m_adler >> 16;
    for (std::size_t left = count; left > 0;) {
        // Short enough for every sum to stay below 2^64 before the one reduction.
        const std::uint64_t n = std::min<std::size_t>(left, std::size_t{1} << 24);
        b = (b + n * a + byte * (n * (n + 1) / 2)) % Base;
        a = (a + n * byte) % Base;
        left -= n;
    }
    m_adler = static_cast<std::uint32_t>(b << 16 | a);
    // A match of 258 takes 13 bits; the last two pieces and two literals at most 54.
    reserve(count / 128 + 8);
    if (byte == m_previous) {
        repeat(count);
    } else {
        literal(byte);
        repeat(count - 1);
    }
}

std::vector<unsigned char> TRunDeflater::finish() {
    m_out.resize(m_used + 16);
    put(0, 7); // end of block
    while (m_count > 0) {
        m_out[m_used++] = static_cast<unsigned char>(m_bits);
        m_bits >>= 8;
        m_count = std::max(0, m_count - 8);
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        m_out[m_used++] = static_cast<unsigned char>(m_adler >> shift);
    m_out.resize(m_used);
    return std::move(m_out);
}
