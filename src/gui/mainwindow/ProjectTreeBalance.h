// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ITranslator;
class QLocale;
struct TBranch;

// A measured branch's deviation and the tolerance, as its node's tooltip; empty for a branch without
// a deviation.
QString BranchBalanceTip(const TBranch& branch, double tolerancePercent, const QLocale& locale,
                         const ITranslator& translator);
