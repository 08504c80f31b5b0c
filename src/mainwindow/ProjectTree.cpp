#include "mainwindow/ProjectTree.h"

#include "localisation/Translator.h"
#include "model/InstrumentText.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <QSignalBlocker>
#include <QStringBuilder>
#include <QTreeWidget>

#include <utility>

namespace {
// Root children before the first branch: "Project name" and "Last change".
constexpr int ProjectLines = 2;
} // namespace

void FillProjectTree(QTreeWidget& tree, const TProjectTreeSource& s) {
    const QSignalBlocker blocker(tree);
    tree.setUpdatesEnabled(false);
    tree.clear();

    // The fixed texts once per tree, not once per branch.
    const ITranslator& tr = s.Translator;
    auto colon = [&tr](const char* english) {
        return tr.Translate(QString::fromLatin1(english)) + QStringLiteral(": ");
    };
    const QString flowUnit = u'[' + s.Units.FlowUnitName() + QStringLiteral("]: ");
    const QString branchText = colon("Branch");
    const QString manufacturerText = colon("Manufacturer");
    const QString typeText = colon("Valve type");
    const QString requestedText = tr.Translate(QStringLiteral("Requested flow")) + flowUnit;
    const QString initialText = tr.Translate(QStringLiteral("Initial flow")) + flowUnit;
    const QString finalText = tr.Translate(QStringLiteral("Final flow")) + flowUnit;
    const QString initialPresettingText = colon("Initial presetting");
    const QString finalPresettingText = colon("Final presetting");

    const TProjectHeader& header = s.Project.Header;
    auto* root = new QTreeWidgetItem(QStringList(tr.Translate(QStringLiteral("Project"))));
    QList<QTreeWidgetItem*> lines;
    const int count = s.Project.branchCount();
    lines.reserve(ProjectLines + count);
    lines.append(new QTreeWidgetItem(
        QStringList(colon("Project name") + DecodeInstrumentText(header.Name, NameFieldSize, s.CodePage))));
    lines.append(new QTreeWidgetItem(QStringList(
        colon("Last change") + DecodeInstrumentText(header.Last_Change, NameFieldSize, s.CodePage))));

    for (int i = 0; i < count; ++i) {
        const TBranch& b = s.Project.Branches[i];
        s.Valve.CurrentValve = b.Valve_Index;
        auto* node = new QTreeWidgetItem(
            QStringList(branchText % DecodeInstrumentText(b.Name, NameFieldSize, s.CodePage)));
        QList<QTreeWidgetItem*> values;
        values.reserve(7);
        auto add = [&values](QString text) {
            values.append(new QTreeWidgetItem(QStringList(std::move(text))));
        };
        add(manufacturerText % s.Valve.ManufacturerName(s.Catalogue, s.CodePage));
        add(typeText % s.Valve.ValveTypeName(s.Catalogue, s.CodePage));
        add(requestedText % s.Units.FormatFlow(b.Request_Flow));
        add(initialText % s.Units.FormatFlow(b.Initial_Flow));
        add(finalText % s.Units.FormatFlow(b.Final_Flow));
        if (s.Valve.HasPresetting(s.Catalogue)) {
            add(initialPresettingText % s.Units.FormatPresetting(b.Initial_Presetting, tr));
            add(finalPresettingText % s.Units.FormatPresetting(b.Final_Presetting, tr));
        }
        node->addChildren(values);
        lines.append(node);
    }
    root->addChildren(lines);
    tree.addTopLevelItem(root);
    root->setExpanded(true);
    tree.setUpdatesEnabled(true);
}

int BranchOfNode(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return -1;
    // A value line stands for the node above it.
    if (node->childCount() == 0 && node->parent() != nullptr)
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
