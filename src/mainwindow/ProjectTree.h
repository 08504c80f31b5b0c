#pragma once

#include "model/ProjectRecords.h"

class ITranslator;
class QTreeWidget;
class QTreeWidgetItem;
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
};

// Replaces the tree's nodes by the project's: root, name, last change, and per branch its valve and
// values. Only the root is expanded; nothing is selected.
void FillProjectTree(QTreeWidget& tree, const TProjectTreeSource& source);

// What a tree node stands for: -1 for the project (the root and its value lines), else the index of
// the branch the node or its value line belongs to.
int BranchOfNode(const QTreeWidgetItem* node);

// The node of a branch; null when the tree holds no such branch.
QTreeWidgetItem* BranchNode(QTreeWidget& tree, int branch);
