// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/TransferProgress.h"

#include <functional>
#include <vector>

// Keeps every progress report and asks to stop once `StopWhen` holds for the reports so far.
class TRecordingProgress final : public ITransferProgress {
public:
    struct Report {
        TTransferOperation Operation;
        std::uint64_t Done;
        std::uint64_t Total;
        bool operator==(const Report&) const = default;
    };

    void progress(TTransferOperation operation, std::uint64_t done, std::uint64_t total) override {
        Reports.push_back({operation, done, total});
    }
    bool cancelled() const override { return StopWhen && StopWhen(Reports); }

    // Stops once `chunks` chunks of the current transfer have moved.
    static std::function<bool(const std::vector<Report>&)> afterChunks(std::size_t chunks) {
        return [chunks](const std::vector<Report>& reports) { return reports.size() > chunks; };
    }

    std::vector<Report> Reports;
    std::function<bool(const std::vector<Report>&)> StopWhen;
};
