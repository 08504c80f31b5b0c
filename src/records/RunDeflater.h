#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A zlib stream whose only matches are runs of one repeated byte, in deflate's fixed codes. On
// data that is mostly runs, as the rows of a chart stored against the row above are, it is many
// times faster than a general deflater and a little larger; bytes outside runs take 8 or 9 bits.
class TRunDeflater {
public:
    TRunDeflater();
    void write(const unsigned char* data, std::size_t size);
    // `count` copies of `byte`, without reading them from anywhere.
    void writeRun(unsigned char byte, std::size_t count);
    // Ends the stream and gives all of it.
    std::vector<unsigned char> finish();

private:
    struct TTables;
    static const TTables& tables();
    inline void put(std::uint32_t bits, int count);
    inline void literal(unsigned char byte);
    // `length` more copies of the byte before.
    inline void repeat(std::size_t length);

    void reserve(std::size_t bytes);

    const TTables& m_tables;
    std::vector<unsigned char> m_out;
    std::size_t m_used = 0;
    std::uint64_t m_bits = 0;
    int m_count = 0;
    std::uint32_t m_adler = 1;
    int m_previous = -1; // the last byte written, none at the start
};
