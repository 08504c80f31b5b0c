// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/TransferProgress.h"

#include <cstdint>

// One transfer's side of ITransferProgress: announces the total at once, reports each chunk, and asks
// between chunks whether to go on. Without a progress interface it reports nothing and never stops.
class TTransferReport {
public:
    TTransferReport(ITransferProgress* progress, TTransferOperation operation, std::uint64_t total)
        : m_progress(progress), m_operation(operation), m_total(total) {
        report(0);
    }
    void report(std::uint64_t done) {
        if (m_progress)
            m_progress->progress(m_operation, done, m_total);
    }
    bool cancelled() const { return m_progress && m_progress->cancelled(); }

private:
    ITransferProgress* m_progress;
    TTransferOperation m_operation;
    std::uint64_t m_total;
};
