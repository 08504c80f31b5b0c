// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The transfers that move more than one chunk; the window names them in its own words.
enum class TTransferOperation {
    ReadProject,
    WriteProject,
    VerifyProject,
    ReadRecords,
    ReadValves,
};

// How far a transfer has got, and whether the user wants it to stop. The link asks `cancelled`
// between chunks only, so a chunk is never cut in half.
class ITransferProgress {
public:
    virtual ~ITransferProgress() = default;
    // `done` of `total` bytes; called before the first chunk (done 0) and after each one.
    virtual void progress(TTransferOperation operation, std::uint64_t done, std::uint64_t total) = 0;
    virtual bool cancelled() const = 0;
};
