// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DriverFailure.h"

#include <stdexcept>

// A failed exchange with the instrument. Carries one of the link's five English texts ("Device not
// reply", "Error command number", "Error master adr", "Error slave adr", "Error CRC"), never shown: the
// link scope reports the failure as an outcome. A reply that never came carries what the driver said of it.
struct TProtocolError : std::runtime_error {
    explicit TProtocolError(const char* text, TDriverFailure failure = {})
        : std::runtime_error(text), Failure(std::move(failure)) {}

    TDriverFailure Failure;
};
