// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/SimulatedUsb.h"

#include "simulator/SimulatedInstrument.h"

#include <cstring>
#include <strings.h>

namespace {

constexpr const char* InstrumentVidPid = "vid_04d8&pid_000c";
constexpr const char* InstrumentEndpoint = "\\MCHP_EP1";
constexpr std::uint32_t FrameSize = 64;

void* invalidPipe() {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
}

bool sameText(const char* a, const char* b) {
    return a != nullptr && strcasecmp(a, b) == 0;
}

} // namespace

std::uint32_t TSimulatedUsb::deviceCount(const char* vidPid) const {
    return sameText(vidPid, InstrumentVidPid) && m_instrument.isAttached() ? 1 : 0;
}

void* TSimulatedUsb::open(std::uint32_t instance, const char* vidPid, const char* endpoint,
                          std::uint32_t direction, std::uint32_t /*reserved*/) {
    if (instance != 0 || !sameText(vidPid, InstrumentVidPid) || !sameText(endpoint, InstrumentEndpoint) ||
        !m_instrument.isAttached())
        return invalidPipe();
    if (direction == 1) {
        m_readOpen = true;
        return &m_readHandle;
    }
    if (direction == 0) {
        m_writeOpen = true;
        return &m_writeHandle;
    }
    return invalidPipe();
}

std::uint32_t TSimulatedUsb::read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                                  std::uint32_t /*timeoutMs*/) {
    if (received != nullptr)
        *received = 0;
    if (!isReadPipe(pipe) || data == nullptr || length < FrameSize)
        return 0;
    // Nothing to wait for: a reply is there at once or never comes.
    const auto reply = m_instrument.takeReply();
    if (!reply)
        return 0;
    std::memcpy(data, reply->data(), FrameSize);
    if (received != nullptr)
        *received = FrameSize;
    return 1;
}

std::uint32_t TSimulatedUsb::write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                                   std::uint32_t /*timeoutMs*/) {
    if (sent != nullptr)
        *sent = 0;
    if (!isWritePipe(pipe) || data == nullptr || length != FrameSize)
        return 0;
    TSimFrame frame;
    std::memcpy(frame.data(), data, FrameSize);
    if (!m_instrument.receive(frame))
        return 0;
    if (sent != nullptr)
        *sent = FrameSize;
    return 1;
}

std::uint32_t TSimulatedUsb::close(void* pipe) {
    if (isReadPipe(pipe)) {
        m_readOpen = false;
        return 1;
    }
    if (isWritePipe(pipe)) {
        m_writeOpen = false;
        return 1;
    }
    return 0;
}

bool TSimulatedUsb::isOpen(void* pipe) const {
    return isReadPipe(pipe) || isWritePipe(pipe);
}
