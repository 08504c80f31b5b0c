// SPDX-License-Identifier: GPL-3.0-or-later
// The usb driver library: the shared entry points (common/DriverExports.cpp) over libusb.
#include "UsbPipes.h"

// One set of pipes for the process: the program asks for the read and the write pipe separately,
// and both must share the one claimed interface.
IDriverBackend& DriverBackend() {
    static TUsbPipes instance;
    return instance;
}
