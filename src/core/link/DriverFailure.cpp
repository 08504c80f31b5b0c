// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DriverFailure.h"

#include "DriverContract.h"

#include <iterator>

TDriverFailure DriverFailureFromCode(std::uint32_t code) {
    using K = TDriverFailureKind;
    // Indexed by the contract's ZRV_FAILURE_* codes, which run from 0 without gaps.
    constexpr K kinds[] = {K::None,         K::BadArgument, K::NotFound, K::NoPermission,  K::Busy,
                           K::Disconnected, K::TimedOut,    K::Stalled,  K::TransferFailed};
    static_assert(std::size(kinds) == ZRV_FAILURE_IO + 1 && ZRV_FAILURE_NOT_FOUND == 2 &&
                  ZRV_FAILURE_STALL == 7);
    return {code < std::size(kinds) ? kinds[code] : K::TransferFailed, {}, {}};
}
