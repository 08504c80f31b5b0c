// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// Why the driver could not do what the link asked: found by the loader, or told by the library.
enum class TDriverFailureKind {
    None,
    LibraryMissing,    // no file at the path
    LibraryUnloadable, // a file that the system would not load (Detail: its error)
    LibraryIncomplete, // an entry point missing (Detail: its name)
    NotFound,
    NoPermission,
    Busy,
    Disconnected,
    TimedOut,
    Stalled,
    TransferFailed,
    BadArgument,
};

struct TDriverFailure {
    TDriverFailureKind Kind = TDriverFailureKind::None;
    QString Library; // the library's path, for the loader's kinds
    QString Detail;

    explicit operator bool() const { return Kind != TDriverFailureKind::None; }
};

// A library's ZRV_FAILURE_* code; an unknown one counts as a failed transfer.
TDriverFailure DriverFailureFromCode(std::uint32_t code);
