// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectTree.h"

#include "document/ProjectDocument.h"
#include "model/Translator.h"
#include "model/Balancing.h"
#include "model/ProjectNames.h"
#include "model/Units.h"

#include <QApplication>
#include <QBrush>
#include <QStringBuilder>
#include <QStyle>

#include <utility>

namespace {
// Root children before the first branch: "Project name" and "Last change".
constexpr int ProjectLines = 2;
// Value lines of a valve without presettings, and the two more of one with them.
constexpr int PlainValueLines = 5;
constexpr int PresettingLines = 2;

// An RAII flag.
class TUpdating {
public:
    explicit TUpdating(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~TUpdating() { m_flag = m_was; }
    TUpdating(const TUpdating&) = delete;
    TUpdating& operator=(const TUpdating&) = delete;

private:
    bool& m_flag;
    bool m_was;
};
} // namespace

TProjectTreeLabels::TProjectTreeLabels(const ITranslator& tr, const TUnits& units) {
    auto colon = [&tr](const char* english) {
        return tr.Translate(QString::fromLatin1(english)) + QStringLiteral(": ");
    };
    const QString flowUnit = u'[' + units.FlowUnitName() + QStringLiteral("]: ");
    Project = tr.Translate(QStringLiteral("Project"));
    ProjectName = colon("Project name");
    LastChange = colon("Last change");
    Branch = colon("Branch");
    Manufacturer = colon("Manufacturer");
    ValveType = colon("Valve type");
    RequestedFlow = tr.Translate(QStringLiteral("Requested flow")) + flowUnit;
    InitialFlow = tr.Translate(QStringLiteral("Initial flow")) + flowUnit;
    FinalFlow = tr.Translate(QStringLiteral("Final flow")) + flowUnit;
    InitialPresetting = colon("Initial presetting");
    FinalPresetting = colon("Final presetting");
}

TProjectTreeModel::TProjectTreeModel(const TProjectDocument& document, TProjectTreeSource source,
                                     QObject* parent)
    : QAbstractItemModel(parent), m_document(document), m_source(std::move(source)) {
    connectDocument();
}

TProjectTreeModel::~TProjectTreeModel() = default;

void TProjectTreeModel::connectDocument() {
    const TProjectDocument* d = &m_document;
    connect(d, &TProjectDocument::projectReplaced, this, &TProjectTreeModel::rebuild);
    connect(d, &TProjectDocument::headerChanged, this, &TProjectTreeModel::headerChanged);
    connect(d, &TProjectDocument::branchChanged, this, &TProjectTreeModel::branchChanged);
    connect(d, &TProjectDocument::aboutToInsertBranches, this, [this](int first, int count) {
        if (!m_built)
            return; // the first build takes the project as it then is
        m_updating = true;
        beginInsertRows(rootIndex(), ProjectLines + first, ProjectLines + first + count - 1);
    });
    connect(d, &TProjectDocument::branchesInserted, this, [this](int first, int count) {
        if (!m_built)
            return;
        insertNodes(first, count);
        endInsertRows();
        m_updating = false;
    });
    connect(d, &TProjectDocument::aboutToRemoveBranches, this, [this](int first, int count) {
        if (!m_built)
            return;
        m_updating = true;
        beginRemoveRows(rootIndex(), ProjectLines + first, ProjectLines + first + count - 1);
    });
    connect(d, &TProjectDocument::branchesRemoved, this, [this](int first, int count) {
        if (!m_built)
            return;
        const auto begin = m_nodes.begin() + first;
        m_nodes.erase(begin, begin + count);
        renumber(static_cast<std::size_t>(first));
        endRemoveRows();
        m_updating = false;
    });
    connect(d, &TProjectDocument::aboutToMoveBranch, this, [this](int from, int to) {
        if (!m_built)
            return;
        m_updating = true;
        const QModelIndex root = rootIndex();
        // The destination counts the rows before the move: one further down when moving down.
        beginMoveRows(root, ProjectLines + from, ProjectLines + from, root,
                      ProjectLines + (from < to ? to + 1 : to));
    });
    connect(d, &TProjectDocument::branchMoved, this, [this](int from, int to) {
        if (!m_built)
            return;
        auto& n = m_nodes;
        if (from < to)
            std::rotate(n.begin() + from, n.begin() + from + 1, n.begin() + to + 1);
        else
            std::rotate(n.begin() + to, n.begin() + from, n.begin() + from + 1);
        renumber(static_cast<std::size_t>(std::min(from, to)));
        endMoveRows();
        m_updating = false;
    });
}

void TProjectTreeModel::rebuild() {
    const TUpdating updating(m_updating);
    beginResetModel();
    m_built = true;
    m_labels = TProjectTreeLabels(m_source.Translator, m_source.Units);
    m_nodes.clear();
    insertNodes(0, m_document.project().branchCount());
    for (int line = 0; line < ProjectLines; ++line)
        m_projectLines[static_cast<std::size_t>(line)] = projectLine(line);
    endResetModel();
}

QString TProjectTreeModel::projectLine(int line) const {
    const TProject& p = m_document.project();
    return line == 0 ? m_labels.ProjectName + NameText(p, p.Header.Name)
                     : m_labels.LastChange + NameText(p, p.Header.Last_Change);
}

void TProjectTreeModel::headerChanged() {
    if (!m_built)
        return;
    // Most edits leave the name, and the stamp within its minute, as they were: the view is told
    // only of a line that reads differently.
    const QModelIndex root = rootIndex();
    for (int line = 0; line < ProjectLines; ++line) {
        QString text = projectLine(line);
        if (text == m_projectLines[static_cast<std::size_t>(line)])
            continue;
        m_projectLines[static_cast<std::size_t>(line)] = std::move(text);
        const QModelIndex at = index(line, 0, root);
        emit dataChanged(at, at);
    }
}

void TProjectTreeModel::marksChanged() {
    const int count = static_cast<int>(m_nodes.size());
    if (count == 0)
        return;
    const QModelIndex root = rootIndex();
    emit dataChanged(index(ProjectLines, 0, root), index(ProjectLines + count - 1, 0, root),
                     {Qt::DecorationRole, Qt::ForegroundRole, Qt::ToolTipRole});
}

void TProjectTreeModel::insertNodes(int first, int count) {
    std::vector<std::unique_ptr<TNode>> nodes;
    nodes.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        nodes.push_back(std::make_unique<TNode>(TNode{first + i}));
    m_nodes.insert(m_nodes.begin() + first, std::make_move_iterator(nodes.begin()),
                   std::make_move_iterator(nodes.end()));
    renumber(static_cast<std::size_t>(first + count));
}

void TProjectTreeModel::renumber(std::size_t from) {
    for (std::size_t i = from; i < m_nodes.size(); ++i)
        m_nodes[i]->Branch = static_cast<int>(i);
}

void TProjectTreeModel::branchChanged(int branch) {
    if (branch < 0 || branch >= static_cast<int>(m_nodes.size()))
        return;
    const TUpdating updating(m_updating);
    TNode& node = *m_nodes[static_cast<std::size_t>(branch)];
    const QModelIndex at = branchIndex(branch);
    emit dataChanged(at, at);
    if (node.Lines == 0)
        return; // the view never asked for its lines
    // A valve with presettings has two lines more than one without.
    const int lines = lineCount(m_document.project().Branches[static_cast<std::size_t>(branch)]);
    if (lines < node.Lines) {
        beginRemoveRows(at, lines, node.Lines - 1);
        node.Lines = lines;
        endRemoveRows();
    } else if (lines > node.Lines) {
        beginInsertRows(at, node.Lines, lines - 1);
        node.Lines = lines;
        endInsertRows();
    }
    emit dataChanged(index(0, 0, at), index(lines - 1, 0, at));
}

QModelIndex TProjectTreeModel::rootIndex() const {
    return m_built ? createIndex(0, 0, nullptr) : QModelIndex();
}

QModelIndex TProjectTreeModel::branchIndex(int branch) const {
    if (branch < 0 || branch >= static_cast<int>(m_nodes.size()))
        return {};
    return createIndex(ProjectLines + branch, 0, const_cast<char*>(&m_rootTag));
}

int TProjectTreeModel::branchOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.internalPointer() == nullptr)
        return -1;
    if (index.internalPointer() == &m_rootTag)
        return index.row() >= ProjectLines ? index.row() - ProjectLines : -1;
    return static_cast<const TNode*>(index.internalPointer())->Branch;
}

QModelIndex TProjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return rootIndex();
    if (parent.internalPointer() == nullptr)
        return createIndex(row, 0, const_cast<char*>(&m_rootTag));
    const int branch = branchOf(parent);
    return createIndex(row, 0, m_nodes[static_cast<std::size_t>(branch)].get());
}

QModelIndex TProjectTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalPointer() == nullptr)
        return {};
    if (child.internalPointer() == &m_rootTag)
        return rootIndex();
    return branchIndex(static_cast<const TNode*>(child.internalPointer())->Branch);
}

int TProjectTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return m_built ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    if (parent.internalPointer() == nullptr)
        return ProjectLines + static_cast<int>(m_nodes.size());
    if (parent.internalPointer() != &m_rootTag || parent.row() < ProjectLines)
        return 0; // a value line or a line of the project
    const TNode& node = *m_nodes[static_cast<std::size_t>(parent.row() - ProjectLines)];
    if (node.Lines == 0)
        node.Lines = lineCount(m_document.project().Branches[static_cast<std::size_t>(node.Branch)]);
    return node.Lines;
}

int TProjectTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TProjectTreeModel::hasChildren(const QModelIndex& parent) const {
    // Every branch has value lines; counting them waits until the node is opened.
    if (parent.isValid() && parent.internalPointer() == &m_rootTag)
        return parent.row() >= ProjectLines;
    return rowCount(parent) > 0;
}

int TProjectTreeModel::lineCount(const TBranch& branch) const {
    m_walk.CurrentValve = branch.Valve_Index;
    return PlainValueLines + (m_walk.HasPresetting(m_source.Catalogue) ? PresettingLines : 0);
}

QString TProjectTreeModel::valueLine(const TBranch& b, int line) const {
    const TUnits& u = m_source.Units;
    const TProjectTreeLabels& l = m_labels;
    m_walk.CurrentValve = b.Valve_Index;
    switch (line) {
    case 0:
        return l.Manufacturer % m_walk.ManufacturerName(m_source.Catalogue, m_source.CodePage());
    case 1:
        return l.ValveType % m_walk.ValveTypeName(m_source.Catalogue, m_source.CodePage());
    case 2:
        return l.RequestedFlow % u.FormatFlow(b.Request_Flow);
    case 3:
        return l.InitialFlow % u.FormatFlow(b.Initial_Flow);
    case 4:
        return l.FinalFlow % u.FormatFlow(b.Final_Flow);
    case 5:
        return l.InitialPresetting % u.FormatPresetting(b.Initial_Presetting, m_source.Translator);
    case 6:
        return l.FinalPresetting % u.FormatPresetting(b.Final_Presetting, m_source.Translator);
    default:
        return QString();
    }
}

bool TProjectTreeModel::outside(const TBranch& branch) const {
    return BranchBalance(branch, m_source.Tolerance()).State == TBalanceState::Outside;
}

QVariant TProjectTreeModel::branchData(int branch, int role) const {
    const TProject& p = m_document.project();
    const TBranch& b = p.Branches[static_cast<std::size_t>(branch)];
    switch (role) {
    case Qt::DisplayRole:
        return QString(m_labels.Branch % NameText(p, b.Name));
    case Qt::ToolTipRole:
        return m_source.BranchTip ? m_source.BranchTip(b) : QString();
    case Qt::DecorationRole:
        // A branch outside the tolerance shows a warning and red text.
        if (!outside(b))
            return {};
        if (m_warning.isNull())
            m_warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return m_warning;
    case Qt::ForegroundRole:
        return outside(b) ? QVariant(QBrush(Qt::red)) : QVariant();
    default:
        return {};
    }
}

QVariant TProjectTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0)
        return {};
    const void* tag = index.internalPointer();
    if (tag == nullptr)
        return role == Qt::DisplayRole ? QVariant(m_labels.Project) : QVariant();
    const TProject& p = m_document.project();
    if (tag == &m_rootTag) {
        if (index.row() >= ProjectLines)
            return branchData(index.row() - ProjectLines, role);
        return role == Qt::DisplayRole ? projectLine(index.row()) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return {};
    const TNode& node = *static_cast<const TNode*>(tag);
    return valueLine(p.Branches[static_cast<std::size_t>(node.Branch)], index.row());
}
