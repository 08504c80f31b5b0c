// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// What the commissioning report says about a project beyond its measurements. Kept apart from the
// project file, whose layout other installations read.
struct TCommissioningDetails {
    QString Client;
    QString Site;
    QString System;
    QString Standard;
    // Absent: the balancing tolerance setting applies, the same below and above.
    std::optional<double> LowerTolerancePercent;
    std::optional<double> UpperTolerancePercent;
    QDate TestDate; // null: not tested yet
    QString Witness;
    QString Remarks;
    // Parallel to the project's branches: index = the branch's position.
    QStringList BranchRemarks;

    bool operator==(const TCommissioningDetails&) const = default;
};
