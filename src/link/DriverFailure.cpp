#include "link/DriverFailure.h"

#include "DriverContract.h"

TDriverFailure DriverFailureFromCode(std::uint32_t code) {
    switch (code) {
    case ZRV_FAILURE_NONE:
        return {};
    case ZRV_FAILURE_BAD_ARGUMENT:
        return {TDriverFailureKind::BadArgument, {}, {}};
    case ZRV_FAILURE_NOT_FOUND:
        return {TDriverFailureKind::NotFound, {}, {}};
    case ZRV_FAILURE_NO_PERMISSION:
        return {TDriverFailureKind::NoPermission, {}, {}};
    case ZRV_FAILURE_BUSY:
        return {TDriverFailureKind::Busy, {}, {}};
    case ZRV_FAILURE_DISCONNECTED:
        return {TDriverFailureKind::Disconnected, {}, {}};
    case ZRV_FAILURE_TIMEOUT:
        return {TDriverFailureKind::TimedOut, {}, {}};
    case ZRV_FAILURE_STALL:
        return {TDriverFailureKind::Stalled, {}, {}};
    default:
        return {TDriverFailureKind::TransferFailed, {}, {}};
    }
}
