// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/SimulatedInstrument.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// 64-bit arithmetic so that an address near 4 GiB cannot wrap into the memory.
bool inRange(std::uint32_t address, std::uint32_t count, std::uint64_t base, std::size_t size) {
    const std::uint64_t first = address;
    return first >= base && first - base + count <= size;
}

std::uint32_t frameAddress(const TSimFrame& frame) {
    std::uint32_t address = 0;
    for (int i = 3; i >= 0; --i)
        address = (address << 8) | frame[static_cast<std::size_t>(SimFrame::AddressOffset + i)];
    return address;
}

} // namespace

TSimulatedInstrument::TSimulatedInstrument(TSimClock clock)
    : m_config(ConfigMemorySize, 0), m_data(DataMemorySize, 0xFF), m_clock(std::move(clock)) {
    if (!m_clock) {
        m_clock = [] {
            return std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
        };
    }
}

bool TSimulatedInstrument::readConfig(std::uint32_t address, void* destination, std::uint32_t count) const {
    if (!inRange(address, count, 0, m_config.size()))
        return false;
    if (count > 0)
        std::memcpy(destination, m_config.data() + address, count);
    return true;
}

bool TSimulatedInstrument::writeConfig(std::uint32_t address, const void* source, std::uint32_t count) {
    if (!inRange(address, count, 0, m_config.size()))
        return false;
    if (count > 0)
        std::memcpy(m_config.data() + address, source, count);
    return true;
}

bool TSimulatedInstrument::readData(std::uint32_t address, void* destination, std::uint32_t count) const {
    if (!inRange(address, count, DataMemoryBase, m_data.size()))
        return false;
    if (count > 0)
        std::memcpy(destination, m_data.data() + (address - DataMemoryBase), count);
    return true;
}

bool TSimulatedInstrument::writeData(std::uint32_t address, const void* source, std::uint32_t count) {
    if (!inRange(address, count, DataMemoryBase, m_data.size()))
        return false;
    if (count > 0)
        std::memcpy(m_data.data() + (address - DataMemoryBase), source, count);
    return true;
}

void TSimulatedInstrument::injectFault(TReplyFault fault, std::uint64_t frame) {
    m_faults.push_back({fault, frame, frame});
}

void TSimulatedInstrument::injectFaultFrom(TReplyFault fault, std::uint64_t firstFrame) {
    m_faults.push_back({fault, firstFrame, std::numeric_limits<std::uint64_t>::max()});
}

void TSimulatedInstrument::clearFaults() {
    m_faults.clear();
}

void TSimulatedInstrument::unplugAfter(std::uint64_t frames) {
    m_unplugAt = m_framesReceived + frames;
}

void TSimulatedInstrument::setPresent(bool present) {
    m_present = present;
    if (present)
        m_unplugAt.reset();
}

bool TSimulatedInstrument::isAttached() const {
    return m_present && (!m_unplugAt || m_framesReceived < *m_unplugAt);
}

TReplyFault TSimulatedInstrument::faultFor(std::uint64_t frame) const {
    // The rule injected last wins, so a test can narrow a standing fault.
    for (auto rule = m_faults.rbegin(); rule != m_faults.rend(); ++rule)
        if (frame >= rule->First && frame <= rule->Last)
            return rule->Fault;
    return TReplyFault::None;
}

bool TSimulatedInstrument::receive(const TSimFrame& request) {
    if (!isAttached())
        return false;
    ++m_framesReceived;
    if (m_recording)
        m_requests.push_back({request, m_clock()});
    m_reply.reset();

    const TReplyFault fault = faultFor(m_framesReceived);
    if (fault == TReplyFault::NoReply)
        return true;

    TSimFrame reply{};
    if (!execute(request, reply) || request[SimFrame::SlaveOffset] == SimFrame::SlaveNoReply)
        return true;

    switch (fault) {
    case TReplyFault::WrongCommand:
        reply[SimFrame::CommandOffset] ^= 0x80;
        break;
    case TReplyFault::WrongMaster:
        reply[SimFrame::MasterOffset] ^= 0xFF;
        break;
    case TReplyFault::WrongSlave:
        reply[SimFrame::SlaveOffset] ^= 0x01;
        break;
    default:
        break;
    }
    reply[SimFrame::CheckOffset] = SimFrameCrc(reply);
    if (fault == TReplyFault::BadCheckValue)
        reply[SimFrame::CheckOffset] ^= 0x5A;
    m_reply = reply;
    return true;
}

std::optional<TSimFrame> TSimulatedInstrument::takeReply() {
    std::optional<TSimFrame> reply;
    reply.swap(m_reply);
    return reply;
}

// Carries out a request and fills the reply's data; false when the instrument ignores the request.
bool TSimulatedInstrument::execute(const TSimFrame& request, TSimFrame& reply) {
    const std::uint8_t slave = request[SimFrame::SlaveOffset];
    if (request[0] != SimFrame::StartMark || request[SimFrame::CheckOffset] != SimFrameCrc(request))
        return false;
    if (slave != m_slaveAddress && slave != SimFrame::SlaveAny && slave != SimFrame::SlaveNoReply)
        return false;

    const std::uint8_t command = request[SimFrame::CommandOffset];
    const std::uint32_t count = request[SimFrame::LengthOffset];
    const std::uint32_t address = frameAddress(request);
    std::uint8_t* data = reply.data() + SimFrame::DataOffset;
    switch (command) {
    case SimFrame::CommandPing:
        break;
    case SimFrame::CommandReadMemory:
        if (count > SimFrame::DataSize || !readConfig(address, data, count))
            return false;
        break;
    case SimFrame::CommandReadData:
        if (count > SimFrame::DataSize || !readData(address, data, count))
            return false;
        break;
    case SimFrame::CommandWriteMemory: {
        std::array<std::uint8_t, SimFrame::DataSize> previous{};
        if (count > SimFrame::DataSize || !readConfig(address, previous.data(), count))
            return false;
        writeConfig(address, request.data() + SimFrame::DataOffset, count);
        if (m_faultyCell && *m_faultyCell >= address && *m_faultyCell - address < count)
            m_config[*m_faultyCell] ^= 0xFF;
        if (m_writeHook && !m_writeHook()) {
            writeConfig(address, previous.data(), count);
            return false;
        }
        break;
    }
    default:
        return false;
    }

    reply[0] = SimFrame::StartMark;
    reply[SimFrame::MasterOffset] = request[SimFrame::MasterOffset];
    reply[SimFrame::SlaveOffset] = m_slaveAddress;
    std::copy(request.begin() + SimFrame::CommandOffset, request.begin() + SimFrame::DataOffset,
              reply.begin() + SimFrame::CommandOffset);
    return true;
}
