// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ITranslator;
class QLocale;
class QTreeWidget;
struct TBranch;
struct TProject;

// Marks the branch nodes of a filled project tree whose final flow lies outside the tolerance (a
// warning icon and red text).
void MarkBranchBalance(QTreeWidget& tree, const TProject& project, double tolerancePercent);
// The same for the node of one branch, after an edit of it.
void MarkOneBranchBalance(QTreeWidget& tree, const TProject& project, int branch, double tolerancePercent);
// A measured branch's deviation and the tolerance, as its node's tooltip; empty for a branch without
// a deviation.
QString BranchBalanceTip(const TBranch& branch, double tolerancePercent, const QLocale& locale,
                         const ITranslator& translator);
