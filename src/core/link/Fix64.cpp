// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Fix64.h"

#include "link/Pause.h"
#include "link/ProtocolError.h"
#include "link/UsbDriver.h"

#include <algorithm>
#include <cstring>

TFix64::TFix64(IUsbDriver& driver, IPause& pause)
    : m_driver(driver), m_pause(pause), m_readPipe(InvalidPipe()), m_writePipe(InvalidPipe()) {
    m_readPipes.fill(InvalidPipe());
    m_writePipes.fill(InvalidPipe());
}

TFix64::~TFix64() {
    for (int i = 0; i < MaxInstances; ++i)
        ClosePipes(i);
}

bool TFix64::OpenPipes(int instance) {
    if (instance < 0 || instance >= MaxInstances)
        return false;
    // Opening again must not lose the handles of the first open.
    ClosePipes(instance);
    const auto i = static_cast<std::uint32_t>(instance);
    m_openFailure = {};
    m_readPipes[instance] = m_driver.Open(i, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0);
    // The read pipe's reason, when that one failed, is kept over the write pipe's.
    if (m_readPipes[instance] == InvalidPipe())
        m_openFailure = m_driver.LastFailure();
    m_writePipes[instance] = m_driver.Open(i, InstrumentVidPid, InstrumentEndpoint, PipeDirectionWrite, 0);
    if (!m_openFailure && m_writePipes[instance] == InvalidPipe())
        m_openFailure = m_driver.LastFailure();
    m_readPipe = m_readPipes[instance];
    m_writePipe = m_writePipes[instance];
    return m_readPipe != InvalidPipe() && m_writePipe != InvalidPipe();
}

void TFix64::ClosePipes(int instance) {
    if (instance < 0 || instance >= MaxInstances)
        return;
    // A pipe that failed to open is not the driver's to close; a closed one is never used again.
    for (auto* table : {&m_readPipes, &m_writePipes}) {
        void*& pipe = (*table)[instance];
        if (pipe == InvalidPipe())
            continue;
        m_driver.Close(pipe);
        if (m_readPipe == pipe)
            m_readPipe = InvalidPipe();
        if (m_writePipe == pipe)
            m_writePipe = InvalidPipe();
        pipe = InvalidPipe();
    }
}

std::uint32_t TFix64::DeviceCount() {
    return m_driver.GetDeviceCount(InstrumentVidPid);
}

bool TFix64::SendRequest() {
    std::uint32_t sent = 0;
    const bool sentOk = m_driver.Write(m_writePipe, m_request.data(),
                                       static_cast<std::uint32_t>(m_request.size()), &sent, Timeout) != 0;
    m_sendFailure = sentOk ? TDriverFailure{} : m_driver.LastFailure();
    return sentOk;
}

bool TFix64::ReceiveReply() {
    // A short or failed read must not leave the previous reply to pass for this one.
    m_reply.fill(0);
    return m_driver.Read(m_readPipe, m_reply.data(), static_cast<std::uint32_t>(m_reply.size()),
                         &ReceivedCount, Timeout) != 0;
}

bool TFix64::CheckReply() {
    if (!ReceiveReply()) {
        // A pipe that never opened, or a request that never left, says more than the read after it.
        TDriverFailure failure = m_openFailure   ? m_openFailure
                                 : m_sendFailure ? m_sendFailure
                                                 : m_driver.LastFailure();
        throw TProtocolError("Device not reply", std::move(failure));
    }
    ValidateReply(m_request, m_reply);
    return true;
}

bool TFix64::exchange(const TFrame& request) {
    m_request = request;
    // A failed write shows as the missing reply.
    SendRequest();
    // The next pause counts from the reply, or from the end of a failed wait for it.
    struct TEnded {
        IPause& Pause;
        ~TEnded() { Pause.exchangeEnded(); }
    } ended{m_pause};
    if (m_slaveAddress == SlaveNoReply)
        return true;
    return CheckReply();
}

bool TFix64::Transact(std::uint8_t command, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                      std::optional<std::uint32_t> address, const std::uint8_t* data) {
    return exchange(BuildRequest(m_slaveAddress, command, p1, p2, p3, address.value_or(0), data));
}

bool TFix64::Ping() {
    return Transact(CommandPing, 0, 0, 0, std::nullopt, nullptr);
}

bool TFix64::readChunks(std::uint8_t command, std::uint32_t address, void* destination, std::uint32_t count,
                        int pauseAfterMs) {
    auto* out = static_cast<std::uint8_t*>(destination);
    while (count > 0) {
        const std::uint32_t n = std::min(count, FrameDataSize);
        Transact(command, static_cast<std::uint8_t>(n), 0, 0, address, nullptr);
        std::memcpy(out, m_reply.data() + FrameDataOffset, n);
        address += FrameDataSize;
        out += n;
        count -= n;
        if (pauseAfterMs > 0)
            m_pause.pauseMs(pauseAfterMs);
    }
    return true;
}

bool TFix64::ReadMemory(std::uint32_t address, void* destination, std::uint32_t count) {
    return readChunks(CommandReadMemory, address, destination, count, 5);
}

bool TFix64::ReadData(std::uint32_t address, void* destination, std::uint32_t count) {
    return readChunks(CommandReadData, address, destination, count, 0);
}

bool TFix64::WriteMemory(std::uint32_t address, const void* source, std::uint32_t count) {
    const auto* in = static_cast<const std::uint8_t*>(source);
    while (count > 0) {
        const std::uint32_t n = std::min(count, FrameDataSize);
        m_pause.pauseMs(10);
        // Only the chunk's own bytes are taken from the source; the rest of a short last chunk is zero.
        exchange(BuildRequest(m_slaveAddress, CommandWriteMemory, static_cast<std::uint8_t>(n), 0, 0, address,
                              in, n));
        address += FrameDataSize;
        in += n;
        count -= n;
        m_pause.pauseMs(5);
    }
    return true;
}
