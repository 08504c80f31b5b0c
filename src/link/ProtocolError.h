#pragma once

#include <stdexcept>

// A failed exchange with the instrument. Carries one of the link's five English texts ("Device not
// reply", "Error command number", "Error master adr", "Error slave adr", "Error CRC"); the link scope
// turns it into its own user message.
struct TProtocolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
