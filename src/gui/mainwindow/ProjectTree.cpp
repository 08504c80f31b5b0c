// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectTree.h"

#include "localisation/Translator.h"
#include "model/ProjectNames.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <QSignalBlocker>
#include <QStringBuilder>
#include <QTreeWidget>

#include <utility>

namespace {
// Root children before the first branch: "Project name" and "Last change".
constexpr int ProjectLines = 2;

// The texts of a branch node's value lines, in order; the presettings only for a valve that has them.
QStringList valueTexts(const TBranch& b, const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    s.Valve.CurrentValve = b.Valve_Index;
    QStringList texts;
    texts.reserve(7);
    texts.append(l.Manufacturer % s.Valve.ManufacturerName(s.Catalogue, s.CodePage));
    texts.append(l.ValveType % s.Valve.ValveTypeName(s.Catalogue, s.CodePage));
    texts.append(l.RequestedFlow % s.Units.FormatFlow(b.Request_Flow));
    texts.append(l.InitialFlow % s.Units.FormatFlow(b.Initial_Flow));
    texts.append(l.FinalFlow % s.Units.FormatFlow(b.Final_Flow));
    if (s.Valve.HasPresetting(s.Catalogue)) {
        texts.append(l.InitialPresetting % s.Units.FormatPresetting(b.Initial_Presetting, s.Translator));
        texts.append(l.FinalPresetting % s.Units.FormatPresetting(b.Final_Presetting, s.Translator));
    }
    return texts;
}

std::shared_ptr<const TBranchNodeItem::TTexts> nodeTexts(const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    return std::make_shared<const TBranchNodeItem::TTexts>(
        TBranchNodeItem::TTexts{&s.Project, l.Branch, s.CodePage, s.BranchTip});
}

void addValueLines(QTreeWidgetItem* node, const TBranch& b, const TProjectTreeSource& s,
                   const TProjectTreeLabels& l) {
    QList<QTreeWidgetItem*> values;
    const QStringList texts = valueTexts(b, s, l);
    values.reserve(texts.size());
    for (const QString& text : texts)
        values.append(new QTreeWidgetItem(QStringList(text)));
    node->addChildren(values);
}

QString nameLine(const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    return l.ProjectName + NameText(s.Project, s.Project.Header.Name);
}

QString lastChangeLine(const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    return l.LastChange + NameText(s.Project, s.Project.Header.Last_Change);
}

void setTextIfChanged(QTreeWidgetItem* item, const QString& text) {
    // Each setText repaints and tells the view; most lines of an edited branch stay as they were.
    if (item->text(0) != text)
        item->setText(0, text);
}

} // namespace

TBranchNodeItem::TBranchNodeItem(std::shared_ptr<const TTexts> texts)
    : QTreeWidgetItem(UserType), m_texts(std::move(texts)) {
    setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

QVariant TBranchNodeItem::data(int column, int role) const {
    if (column != 0 || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QTreeWidgetItem::data(column, role);
    const int branch = BranchOfNode(this);
    if (branch < 0 || branch >= m_texts->Project->branchCount())
        return QTreeWidgetItem::data(column, role);
    const TBranch& b = m_texts->Project->Branches[static_cast<std::size_t>(branch)];
    if (role == Qt::DisplayRole)
        return QString(m_texts->Label % NameText(*m_texts->Project, b.Name));
    return m_texts->Tip ? m_texts->Tip(b) : QString();
}

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

void FillProjectTree(QTreeWidget& tree, const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    const QSignalBlocker blocker(tree);
    tree.setUpdatesEnabled(false);
    tree.clear();

    auto* root = new QTreeWidgetItem(QStringList(l.Project));
    QList<QTreeWidgetItem*> lines;
    const int count = s.Project.branchCount();
    lines.reserve(ProjectLines + count);
    lines.append(new QTreeWidgetItem(QStringList(nameLine(s, l))));
    lines.append(new QTreeWidgetItem(QStringList(lastChangeLine(s, l))));
    const auto texts = nodeTexts(s, l);
    for (int i = 0; i < count; ++i)
        lines.append(new TBranchNodeItem(texts));
    // Where walking every branch's lines would leave the selection.
    if (count > 0)
        s.Valve.CurrentValve = s.Project.Branches[static_cast<std::size_t>(count - 1)].Valve_Index;
    root->addChildren(lines);
    tree.addTopLevelItem(root);
    root->setExpanded(true);
    tree.setUpdatesEnabled(true);
}

void UpdateProjectLines(QTreeWidget& tree, const TProjectTreeSource& s, const TProjectTreeLabels& l) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (root == nullptr || root->childCount() < ProjectLines)
        return;
    setTextIfChanged(root->child(0), nameLine(s, l));
    setTextIfChanged(root->child(1), lastChangeLine(s, l));
}

void UpdateBranchNode(QTreeWidget& tree, const TProjectTreeSource& s, const TProjectTreeLabels& l,
                      int branch) {
    QTreeWidgetItem* node = BranchNode(tree, branch);
    if (node == nullptr || branch >= s.Project.branchCount())
        return;
    const TBranch& b = s.Project.Branches[static_cast<std::size_t>(branch)];
    if (auto* item = dynamic_cast<TBranchNodeItem*>(node))
        item->changed();
    if (node->childCount() == 0)
        return; // never opened: its lines are made when it is
    const QStringList texts = valueTexts(b, s, l);
    // A valve with presettings has two lines more than one without.
    while (node->childCount() > texts.size())
        delete node->takeChild(node->childCount() - 1);
    for (int i = 0; i < texts.size(); ++i) {
        if (i < node->childCount())
            setTextIfChanged(node->child(i), texts[i]);
        else
            node->addChild(new QTreeWidgetItem(QStringList(texts[i])));
    }
}

void ShowValueLines(QTreeWidget& tree, const TProjectTreeSource& s, const TProjectTreeLabels& l, int branch) {
    QTreeWidgetItem* node = BranchNode(tree, branch);
    if (node == nullptr || node->childCount() > 0 || branch >= s.Project.branchCount())
        return;
    addValueLines(node, s.Project.Branches[static_cast<std::size_t>(branch)], s, l);
}

void InsertBranchNodes(QTreeWidget& tree, const TProjectTreeSource& s, const TProjectTreeLabels& l, int first,
                       int count) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (root == nullptr || first < 0 || first > root->childCount() - ProjectLines)
        return;
    QList<QTreeWidgetItem*> nodes;
    const auto texts = nodeTexts(s, l);
    for (int i = first; i < first + count && i < s.Project.branchCount(); ++i)
        nodes.append(new TBranchNodeItem(texts));
    root->insertChildren(ProjectLines + first, nodes);
}

void PutBranchNode(QTreeWidget& tree, int branch, QTreeWidgetItem* node) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (root == nullptr || branch < 0 || branch > root->childCount() - ProjectLines)
        return;
    root->insertChild(ProjectLines + branch, node);
}

QList<QTreeWidgetItem*> TakeBranchNodes(QTreeWidget& tree, int first, int count) {
    QList<QTreeWidgetItem*> taken;
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (root == nullptr || first < 0)
        return taken;
    for (int i = 0; i < count && ProjectLines + first < root->childCount(); ++i)
        taken.append(root->takeChild(ProjectLines + first));
    return taken;
}

void MoveBranchNode(QTreeWidget& tree, int from, int to) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    QTreeWidgetItem* node = BranchNode(tree, from);
    if (node == nullptr || BranchNode(tree, to) == nullptr)
        return;
    // A taken item forgets its expansion and selection, and so do its value lines.
    const bool expanded = node->isExpanded();
    QTreeWidgetItem* selected = nullptr;
    for (QTreeWidgetItem* item : tree.selectedItems()) {
        if (item == node || item->parent() == node)
            selected = item;
    }
    const bool wasCurrent = tree.currentItem() == node || (selected && tree.currentItem() == selected);
    root->takeChild(ProjectLines + from);
    root->insertChild(ProjectLines + to, node);
    node->setExpanded(expanded);
    if (selected) {
        if (wasCurrent)
            tree.setCurrentItem(selected);
        else
            selected->setSelected(true);
    }
}

int BranchOfNode(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return -1;
    // A value line stands for the node above it: it is the one item two levels below the root.
    if (node->parent() != nullptr && node->parent()->parent() != nullptr)
        node = node->parent();
    const QTreeWidgetItem* parent = node->parent();
    if (parent == nullptr)
        return -1;
    const int position = parent->indexOfChild(const_cast<QTreeWidgetItem*>(node));
    return position >= ProjectLines ? position - ProjectLines : -1;
}

QTreeWidgetItem* BranchNode(QTreeWidget& tree, int branch) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (root == nullptr || branch < 0 || branch >= root->childCount() - ProjectLines)
        return nullptr;
    return root->child(ProjectLines + branch);
}
