#pragma once

class ITranslator;
class QLocale;
class QTreeWidget;
struct TProject;

// Marks the branch nodes of a filled project tree whose final flow lies outside the tolerance (a
// warning icon and red text) and gives every measured branch its deviation as a tooltip.
void MarkBranchBalance(QTreeWidget& tree, const TProject& project, double tolerancePercent, const QLocale& locale,
                       const ITranslator& translator);
// The same for the node of one branch, after an edit of it.
void MarkOneBranchBalance(QTreeWidget& tree, const TProject& project, int branch, double tolerancePercent,
                          const QLocale& locale, const ITranslator& translator);
