// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Frame.h"
#include "link/ProtocolError.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>

namespace {

TFrame frameOf(std::initializer_list<std::uint8_t> head, std::uint8_t crc) {
    TFrame f{};
    int i = 0;
    for (auto b : head)
        f[i++] = b;
    f[63] = crc;
    return f;
}

// The textbook CRC-8 with polynomial 0xA3 over bytes 1..61, then byte 62 folded in unshifted.
std::uint8_t referenceCrc(const TFrame& f) {
    std::uint8_t crc = 0;
    for (int i = 1; i <= 61; ++i) {
        crc ^= f[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint8_t>(crc & 0x80 ? (crc << 1) ^ 0xA3 : crc << 1);
    }
    return static_cast<std::uint8_t>(crc ^ f[62]);
}

} // namespace

TEST(Frame, WorkedRequestsByteForByte) {
    EXPECT_EQ(BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr),
              frameOf({0xA5, 0xFF, 0xFE, 0x04}, 0x56));
    EXPECT_EQ(BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, 256, nullptr),
              frameOf({0xA5, 0xFF, 0xFE, 0x07, 0x34, 0, 0, 0x00, 0x01, 0x00, 0x00}, 0x80));
}

TEST(Frame, CheckValueIsCrc8OfTheBodyXorLastByte) {
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        TFrame f{};
        for (auto& b : f)
            b = static_cast<std::uint8_t>(random());
        EXPECT_EQ(FrameCrc(f), referenceCrc(f)) << "round " << round;
    }
    // Bytes 0 and 63 are outside the check.
    TFrame f = BuildRequest(5, 8, 1, 0, 0, 0x12345678, nullptr);
    TFrame g = f;
    g[0] = 0x11;
    g[63] = 0x22;
    EXPECT_EQ(FrameCrc(f), FrameCrc(g));
}

TEST(Frame, RequestCarriesAddressLittleEndianAndOnlyTheGivenData) {
    std::uint8_t data[60];
    for (int i = 0; i < 60; ++i)
        data[i] = static_cast<std::uint8_t>(i + 1);

    const TFrame full = BuildRequest(3, CommandWriteMemory, 52, 0, 0, 0x01020304, data);
    EXPECT_EQ(full[7], 0x04);
    EXPECT_EQ(full[10], 0x01);
    EXPECT_EQ(full[11], 1);
    EXPECT_EQ(full[62], 52);
    EXPECT_EQ(full[63], FrameCrc(full));

    // A short last chunk: the remainder of the data field is zero, even if the source had more.
    const TFrame shortChunk = BuildRequest(3, CommandWriteMemory, 2, 0, 0, 0, data, 2);
    EXPECT_EQ(shortChunk[11], 1);
    EXPECT_EQ(shortChunk[12], 2);
    for (int i = 13; i < 63; ++i)
        EXPECT_EQ(shortChunk[i], 0) << i;
    EXPECT_EQ(shortChunk[63], FrameCrc(shortChunk));

    // More than a data field never spills over the check value.
    EXPECT_EQ(BuildRequest(3, CommandWriteMemory, 52, 0, 0, 0x01020304, data, 60), full);
}

TEST(Frame, ReplyChecksInTheirOrder) {
    struct Case {
        std::string Name;
        std::uint8_t RequestSlave;
        std::function<void(TFrame&)> Bend;
        bool RecomputeCrc;
        std::optional<std::string> Error;
    };
    const std::vector<Case> cases = {
        {"valid", 9, [](TFrame&) {}, true, std::nullopt},
        {"start mark is not examined", 9, [](TFrame& r) { r[0] = 0; }, true, std::nullopt},
        {"command", 9, [](TFrame& r) { r[3] = 5; }, true, "Error command number"},
        {"command and check value", 9, [](TFrame& r) { r[3] = 5; }, false, "Error command number"},
        {"command, master and slave", 9,
         [](TFrame& r) {
             r[1] = 0;
             r[2] = 1;
             r[3] = 5;
         },
         true, "Error command number"},
        {"master", 9, [](TFrame& r) { r[1] = 0xFE; }, true, "Error master adr"},
        {"master and slave", 9,
         [](TFrame& r) {
             r[1] = 0xFE;
             r[2] = 7;
         },
         true, "Error master adr"},
        {"slave 7 for slave 5", 5, [](TFrame& r) { r[2] = 7; }, true, "Error slave adr"},
        {"slave 7 for any slave", SlaveAny, [](TFrame& r) { r[2] = 7; }, true, std::nullopt},
        {"slave and check value", 5, [](TFrame& r) { r[2] = 7; }, false, "Error slave adr"},
        {"check value", 9, [](TFrame& r) { r[63] ^= 1; }, false, "Error CRC"},
        {"data changed after the check", 9, [](TFrame& r) { r[30] ^= 0x40; }, false, "Error CRC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TFrame request = BuildRequest(c.RequestSlave, CommandReadMemory, 52, 0, 0, 256, nullptr);
        TFrame reply = request;
        reply[11] = 0x5A;
        reply[63] = FrameCrc(reply);
        c.Bend(reply);
        if (c.RecomputeCrc)
            reply[63] = FrameCrc(reply);
        else if (FrameCrc(reply) == reply[63])
            reply[63] ^= 0x80; // make sure the check value really is wrong
        if (!c.Error) {
            EXPECT_NO_THROW(ValidateReply(request, reply));
            continue;
        }
        try {
            ValidateReply(request, reply);
            ADD_FAILURE() << "accepted";
        } catch (const TProtocolError& e) {
            EXPECT_EQ(std::string(e.what()), *c.Error);
        }
    }
}
