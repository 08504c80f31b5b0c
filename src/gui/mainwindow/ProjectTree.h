// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>

#include <array>

#include <functional>
#include <memory>
#include <vector>

class ITranslator;
class TProjectDocument;
struct TUnits;

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

// Where the tree's texts come from besides the project; read whenever the view asks, so that a new
// table or tolerance shows at the next repaint.
struct TProjectTreeSource {
    const TValveCatalogue& Catalogue;
    const TUnits& Units;
    const ITranslator& Translator;
    std::function<int()> CodePage;
    std::function<double()> Tolerance;
    // A branch node's tooltip; none when empty.
    std::function<QString(const TBranch&)> BranchTip = {};
};

// The project as a tree: one root ("Project") holding the name line, the last change line and a node
// per branch, each with its value lines (valve and values). Every text is made from the document when
// the view asks for it: a big project shows a few dozen lines at a time. The rows follow the
// document's announcements, so the view keeps its selection, expanded nodes and scroll position
// through every edit and undo.
class TProjectTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    // Empty until the first build (or replacement of the project).
    TProjectTreeModel(const TProjectDocument& document, TProjectTreeSource source, QObject* parent = nullptr);
    ~TProjectTreeModel() override;

    // Everything anew, with the labels in the current language and units.
    void rebuild();
    // The tolerance changed: the marks and tooltips of every branch.
    void marksChanged();
    // Set while the rows follow a change of the document: selection changes then are not the user's.
    bool updating() const { return m_updating; }

    QModelIndex rootIndex() const;
    // Invalid when there is no such branch.
    QModelIndex branchIndex(int branch) const;
    // What an index stands for: -1 for the project (the root and its lines), else the index of the
    // branch the node or its value line belongs to.
    int branchOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // A branch's node: its value lines' indexes point here, so they follow it when it moves.
    struct TNode {
        int Branch;
        // The value lines the view was told of; 0 until it asks.
        mutable int Lines = 0;
    };

    void connectDocument();
    void renumber(std::size_t from);
    void insertNodes(int first, int count);
    void branchChanged(int branch);
    void headerChanged();
    // "Project name: ..." (line 0) or "Last change: ..." (line 1).
    QString projectLine(int line) const;
    int lineCount(const TBranch& branch) const;
    QString valueLine(const TBranch& branch, int line) const;
    QVariant branchData(int branch, int role) const;
    bool outside(const TBranch& branch) const;

    const TProjectDocument& m_document;
    TProjectTreeSource m_source;
    TProjectTreeLabels m_labels;
    std::vector<std::unique_ptr<TNode>> m_nodes;
    // The project's lines as the view was last told of them.
    std::array<QString, 2> m_projectLines;
    // Walks the valves of the lines asked for; the branch page's selection stays as it is.
    mutable TValveSelection m_walk;
    mutable QIcon m_warning;
    bool m_updating = false;
    bool m_built = false;
    // The parent tag of the root's children.
    char m_rootTag = 0;
};
