// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtEndian>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

// Builds instrument record areas block by block, the way the instrument lays them out.
struct TRecordArea {
    std::vector<std::uint8_t> Bytes;

    TRecordArea& header(const std::string& description, const std::string& valve, float presetting = 2.5f,
                        int year = 2012, int medium = 0, int temperature = 0, int concentration = 0,
                        int descriptionTable = 0) {
        std::vector<std::uint8_t> block(68, 0);
        block[0] = 30;
        block[1] = static_cast<std::uint8_t>(descriptionTable);
        for (std::size_t i = 0; i < description.size() && i < 16; ++i)
            block[2 + i] = static_cast<std::uint8_t>(description[i]);
        for (std::size_t i = 0; i < valve.size() && i < 32; ++i)
            block[18 + i] = static_cast<std::uint8_t>(valve[i]);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(presetting), block.data() + 54);
        qToLittleEndian<quint16>(static_cast<quint16>(year), block.data() + 58);
        qToLittleEndian<quint16>(static_cast<quint16>(medium), block.data() + 60);
        qToLittleEndian<quint16>(static_cast<quint16>(temperature), block.data() + 62);
        qToLittleEndian<quint16>(static_cast<quint16>(concentration), block.data() + 64);
        Bytes.insert(Bytes.end(), block.begin(), block.end());
        return *this;
    }

    TRecordArea& sample(float pressure, float flow, int day = 5, int month = 3, int hour = 7, int minute = 4,
                        int second = 9) {
        std::uint8_t block[14] = {31, static_cast<std::uint8_t>(month)};
        qToLittleEndian<quint32>(std::bit_cast<quint32>(pressure), block + 2);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(flow), block + 6);
        block[10] = static_cast<std::uint8_t>(day);
        block[11] = static_cast<std::uint8_t>(hour);
        block[12] = static_cast<std::uint8_t>(minute);
        block[13] = static_cast<std::uint8_t>(second);
        Bytes.insert(Bytes.end(), block, block + 14);
        return *this;
    }

    TRecordArea& filler(int count, std::uint8_t value = 255) {
        Bytes.insert(Bytes.end(), static_cast<std::size_t>(count), value);
        return *this;
    }
};
