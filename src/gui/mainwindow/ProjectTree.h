// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"

#include <QList>
#include <QTreeWidgetItem>
#include <QString>

#include <functional>
#include <memory>

class ITranslator;
class QTreeWidget;
struct TUnits;
struct TValveCatalogue;
struct TValveSelection;

// Where the tree's texts come from.
struct TProjectTreeSource {
    const TProject& Project;
    const TValveCatalogue& Catalogue;
    // Walks through every branch's valve; left on the last branch's valve.
    TValveSelection& Valve;
    const TUnits& Units;
    const ITranslator& Translator;
    int CodePage;
    // A branch node's tooltip, made when the view asks for it; none when empty. It must stay valid
    // as long as the tree's nodes.
    std::function<QString(const TBranch&)> BranchTip = {};
};

// The fixed texts of the tree's lines in the current language and units, translated once per build
// rather than once per branch.
struct TProjectTreeLabels {
    TProjectTreeLabels() = default;
    TProjectTreeLabels(const ITranslator& translator, const TUnits& units);
    QString Project;
    QString ProjectName;
    QString LastChange;
    QString Branch;
    QString Manufacturer;
    QString ValveType;
    QString RequestedFlow;
    QString InitialFlow;
    QString FinalFlow;
    QString InitialPresetting;
    QString FinalPresetting;
};

// A branch's node. Its text and tooltip are made from the project when the view asks for them: a
// big project shows a few dozen of its nodes at a time, and a node moved, inserted or taken out
// shows whatever branch its place holds.
class TBranchNodeItem final : public QTreeWidgetItem {
public:
    struct TTexts {
        const TProject* Project;
        QString Label;
        int CodePage;
        std::function<QString(const TBranch&)> Tip;
    };
    explicit TBranchNodeItem(std::shared_ptr<const TTexts> texts);
    QVariant data(int column, int role) const override;
    // The branch changed: the view asks again.
    void changed() { emitDataChanged(); }

private:
    std::shared_ptr<const TTexts> m_texts;
};

// Replaces the tree's nodes by the project's: root, name, last change, and a node per branch. Only
// the root is expanded; nothing is selected. A branch node gets its lines (valve and values) from
// ShowValueLines when it is first opened.
void FillProjectTree(QTreeWidget& tree, const TProjectTreeSource& source, const TProjectTreeLabels& labels);

// The updates after one edit: only the nodes concerned change, so the selection, the expanded nodes
// and the scroll position stay as the user left them. The tree must hold the project as it was
// before the edit. The tree's signals are not blocked here.
void UpdateProjectLines(QTreeWidget& tree, const TProjectTreeSource& source,
                        const TProjectTreeLabels& labels);
void UpdateBranchNode(QTreeWidget& tree, const TProjectTreeSource& source, const TProjectTreeLabels& labels,
                      int branch);
void InsertBranchNodes(QTreeWidget& tree, const TProjectTreeSource& source, const TProjectTreeLabels& labels,
                       int first, int count);
// Makes the branch node's lines unless it has them; called when the node is first opened, since most
// nodes of a big project never are and the lines are most of the tree's items.
void ShowValueLines(QTreeWidget& tree, const TProjectTreeSource& source, const TProjectTreeLabels& labels,
                    int branch);
// Puts back a node taken out before (it must show the branch now at that position).
void PutBranchNode(QTreeWidget& tree, int branch, QTreeWidgetItem* node);
// Takes the nodes out of the tree and hands them to the caller.
QList<QTreeWidgetItem*> TakeBranchNodes(QTreeWidget& tree, int first, int count);
// The node keeps its expansion and, when it had it, the selection.
void MoveBranchNode(QTreeWidget& tree, int from, int to);

// What a tree node stands for: -1 for the project (the root and its value lines), else the index of
// the branch the node or its value line belongs to.
int BranchOfNode(const QTreeWidgetItem* node);

// The node of a branch; null when the tree holds no such branch.
QTreeWidgetItem* BranchNode(QTreeWidget& tree, int branch);
