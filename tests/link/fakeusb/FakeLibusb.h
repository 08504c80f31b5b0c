// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulator/SimulatedInstrument.h"

#include <cstdint>
#include <deque>

#define ZRV_FAKE_USB_EXPORT __attribute__((visibility("default")))

// The one instrument behind the fake libusb-1.0, and the faults a test gives it. Requests are
// numbered as the instrument counts them (framesReceived(), from 1).
struct TFakeUsbDevice {
    TSimulatedInstrument Instrument;
    // libusb_open and libusb_claim_interface answer these (LIBUSB_ERROR_ACCESS, LIBUSB_ERROR_BUSY).
    int OpenError = 0;
    int ClaimError = 0;
    // The reply to this request arrives just after the read waiting for it timed out.
    std::uint64_t LateReplyTo = 0;
    // Reading the reply to this request stalls the IN endpoint; the reply stays in the endpoint.
    std::uint64_t StallAtReplyTo = 0;

    // What the endpoint and the handles look like from the device's side.
    std::deque<TSimFrame> InQueue;
    bool InHalted = false;
    int ClearHalts = 0;
    int OpenHandles = 0;
    int ClaimedInterfaces = 0;
    // Bumped when the instrument is plugged in again: handles of the old one are dead.
    std::uint64_t Generation = 0;
};

// The device of this process, with demo content and no faults after ResetFakeUsb().
ZRV_FAKE_USB_EXPORT TFakeUsbDevice& FakeUsb();
ZRV_FAKE_USB_EXPORT void ResetFakeUsb();
// The instrument plugged in again after an unplug, at a new address.
ZRV_FAKE_USB_EXPORT void ReplugFakeUsb();
