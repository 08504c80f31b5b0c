// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainWindowActions.h"

#include "model/Translator.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/ComparisonCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"

#include <algorithm>
#include <array>

namespace {

using K = TItemKind;
using P = TMenuPlace;
using C = TCommandCondition;
using V = TTextVariant;

// Off while a confirm panel is open.
constexpr TCommandRule MainItem{C::Always, true};
constexpr TCommandRule Never{C::Never, false};

constexpr TItemKeys Standard(QKeySequence::StandardKey key) {
    return {key, {}, {}};
}
constexpr TItemKeys Ctrl(Qt::Key key) {
    return {QKeySequence::UnknownKey, Qt::CTRL | key, {}};
}

// An item in a line or two reads better than a field in a line.
// clang-format off
constexpr TMainAction Actions[] = {
    {.Kind = K::Menu, .Place = P::File, .Name = "mFile", .English = EnglishText("File"), .TextOrder = 1},
    {.Kind = K::Command, .Place = P::File, .Name = "mPCProjects", .English = EnglishText("------ PC Projects ------"),
     .Designed = "----- K9Q4 Projects -----", .TextOrder = 13, .Rule = Never},
    {.Kind = K::Command, .Place = P::File, .Name = "mNewPrj", .English = EnglishText("New"), .TextOrder = 3,
     .Rule = MainItem, .Handler = [](TMainF& w) { w.NewProject(); }, .Keys = Standard(QKeySequence::New)},
    {.Kind = K::Command, .Place = P::File, .Name = "mOpenPrj", .English = EnglishText("Open"), .Variant = V::Ellipsis,
     .TextOrder = 4, .Rule = MainItem, .Handler = [](TMainF& w) { w.OpenProject(); },
     .Keys = Standard(QKeySequence::Open)},
    // Its entries follow Open's enabling.
    {.Kind = K::RecentFiles, .Place = P::File, .Name = "mRecentProjects", .English = EnglishText("Recent projects"),
     .TextOrder = AfterEditorTexts + 4},
    {.Kind = K::Command, .Place = P::File, .Name = "mSave", .English = EnglishText("Save"), .TextOrder = 5,
     .Rule = {C::ChangedWithFile, true}, .Handler = [](TMainF& w) { w.SaveProject(); },
     .Keys = Standard(QKeySequence::Save)},
    {.Kind = K::Command, .Place = P::File, .Name = "mSaveAsPrj", .English = EnglishText("Save as"),
     .Variant = V::Ellipsis, .TextOrder = 6, .Rule = MainItem, .Handler = [](TMainF& w) { w.SaveProjectAs(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mImportXLS",
     .English = EnglishText("Import from Nortavex engineer"), .Variant = V::Ellipsis,
     .TextOrder = AfterEditorTexts + 2, .Handler = [](TMainF& w) { w.ImportWorkbook(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mExportXLS2",
     .English = EnglishText("Export to Nortavex engineer"), .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts + 3,
     .Rule = {C::NotNewProject, false}, .Handler = [](TMainF& w) { w.ExportWorkbook(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mProjects", .English = EnglishText("-------- Projects --------"),
     .TextOrder = 2, .Rule = Never},
    {.Kind = K::Command, .Place = P::File, .Name = "mOpenPrjFromDevice",
     .English = EnglishText("Open project from ZRV10"), .Variant = V::Ellipsis,
     .Designed = "Open project from device...", .TextOrder = 10,
     .Handler = [](TMainF& w) { w.ReadProjectFromInstrument(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mSaveProjectToDevice",
     .English = EnglishText("Save project to ZRV10"), .Designed = "Save project to device...", .TextOrder = 11,
     .Rule = {C::NotNewProject, false}, .Handler = [](TMainF& w) { w.SaveProjectToInstrument(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mRecords", .English = EnglishText("-------- Records --------"),
     .TextOrder = 7, .Rule = Never},
    {.Kind = K::Command, .Place = P::File, .Name = "mOpenRec", .English = EnglishText("Open"), .Variant = V::Ellipsis,
     .Designed = "Open record...", .TextOrder = 8, .Rule = MainItem,
     .Handler = [](TMainF& w) { w.OpenRecordFile(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mOpenRecordFromDevice",
     .English = EnglishText("Open record from ZRV10"), .Variant = V::Ellipsis,
     .Designed = "Open record from device...", .TextOrder = 12,
     .Handler = [](TMainF& w) { w.ReadRecordsFromInstrument(); }},
    // Beyond the designed menu, so low in it that every designed item keeps its Alt key.
    {.Kind = K::Separator, .Place = P::File, .Name = nullptr},
    {.Kind = K::Command, .Place = P::File, .Name = "mCommissioningDetails",
     .English = EnglishText("Commissioning details"), .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts + 20,
     .Rule = MainItem, .Handler = [](TMainF& w) { w.EditCommissioningDetails(); }},
    {.Kind = K::Command, .Place = P::File, .Name = "mCompareWithProject",
     .English = EnglishText("Compare with project"), .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts + 30,
     .Rule = MainItem, .Handler = [](TMainF& w) { w.comparison().CompareWithProject(); }},
    {.Kind = K::Separator, .Place = P::File, .Name = nullptr},
    {.Kind = K::Command, .Place = P::File, .Name = "mExit", .English = EnglishText("Exit"), .TextOrder = 9,
     .Rule = MainItem, .Handler = [](TMainF& w) { w.close(); }, .Keys = Standard(QKeySequence::Quit)},

    {.Kind = K::Menu, .Place = P::Edit, .Name = "mEdit", .English = EnglishText("Edit"), .TextOrder = 14},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mAddBranch", .English = EnglishText("Add branch"),
     .TextOrder = 15, .Rule = {C::NotLocked, true}, .Handler = [](TMainF& w) { w.editor().AddBranch(); }},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mDeleteBranch", .English = EnglishText("Delete branch"),
     .Variant = V::Ellipsis, .TextOrder = 16, .Rule = {C::BranchSelected, true},
     .Handler = [](TMainF& w) { w.editor().DeleteBranch(); }},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mMoveBranchUp", .English = EnglishText("Move branch up"),
     .TextOrder = 17, .Rule = {C::BranchAbove, true}, .Handler = [](TMainF& w) { w.editor().MoveBranchUp(); }},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mMoveBranchDown", .English = EnglishText("Move branch down"),
     .TextOrder = 18, .Rule = {C::BranchBelow, true}, .Handler = [](TMainF& w) { w.editor().MoveBranchDown(); }},
    // Below the branch items, which keep their accelerators in every language.
    {.Kind = K::Separator, .Place = P::Edit, .Name = nullptr},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mUndo", .English = EnglishText("Undo"),
     .TextOrder = AfterEditorTexts + 5, .Rule = {C::CanUndo, true}, .Handler = [](TMainF& w) { w.Undo(); },
     .Keys = Ctrl(Qt::Key_Z)},
    {.Kind = K::Command, .Place = P::Edit, .Name = "mRedo", .English = EnglishText("Redo"),
     .TextOrder = AfterEditorTexts + 6, .Rule = {C::CanRedo, true}, .Handler = [](TMainF& w) { w.Redo(); },
     .Keys = {QKeySequence::UnknownKey, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}},

    {.Kind = K::Menu, .Place = P::Print, .Name = "mPrint2", .English = EnglishText("Print"), .TextOrder = 19},
    {.Kind = K::Command, .Place = P::Print, .Name = "mSetupPrinter", .English = EnglishText("Setup printer"),
     .Variant = V::Ellipsis, .TextOrder = 20, .Rule = MainItem, .Handler = [](TMainF& w) { w.SetupPrinter(); },
     .Hidden = true},
    {.Kind = K::Command, .Place = P::Print, .Name = "mSetupPage", .Designed = "Setup page...", .Rule = MainItem,
     .Handler = [](TMainF& w) { w.SetupPage(); }, .Hidden = true},
    {.Kind = K::Command, .Place = P::Print, .Name = "mPrint", .English = EnglishText("Print"), .Variant = V::Ellipsis,
     .TextOrder = 21, .Rule = MainItem, .Handler = [](TMainF& w) { w.CmProjektPrint(); }},
    {.Kind = K::Command, .Place = P::Print, .Name = "mBalancingReport", .English = EnglishText("Balancing report"),
     .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts + 1,
     .Handler = [](TMainF& w) { w.balancing().PrintReport(); }},
    {.Kind = K::Command, .Place = P::Print, .Name = "mCommissioningCertificate",
     .English = EnglishText("Commissioning certificate"), .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts + 8,
     .Rule = MainItem, .Handler = [](TMainF& w) { w.PrintCommissioningCertificate(); }},

    {.Kind = K::Menu, .Place = P::Options, .Name = "mOptions", .English = EnglishText("Options"), .TextOrder = 22},
    {.Kind = K::Command, .Place = P::Options, .Name = "mUnits", .English = EnglishText("Flow and pressure units"),
     .Variant = V::Ellipsis, .TextOrder = 23, .Rule = MainItem, .Handler = [](TMainF& w) { w.ChooseUnits(); }},
    {.Kind = K::Command, .Place = P::Options, .Name = "mLanguage", .English = EnglishText("Language"),
     .Variant = V::Ellipsis, .TextOrder = 24, .Rule = MainItem, .Handler = [](TMainF& w) { w.ChooseLanguage(); }},
    {.Kind = K::Command, .Place = P::Options, .Name = "mBalancingSummary",
     .English = EnglishText("Balancing summary"), .Variant = V::Ellipsis, .TextOrder = AfterEditorTexts,
     .Handler = [](TMainF& w) { w.balancing().ShowSummary(); }, .Keys = Ctrl(Qt::Key_B)},
    {.Kind = K::Command, .Place = P::Options, .Name = "mVerifyAfterWrite",
     .English = EnglishText("Verify after writing to device"), .TextOrder = AfterEditorTexts + 7, .Rule = MainItem,
     .Handler = [](TMainF& w) { w.SetVerifyAfterWrite(w.action(QStringLiteral("mVerifyAfterWrite"))->isChecked()); },
     .Checkable = true},

    // The tree's pop-up menu: its shortcuts work while the tree has the focus, and a confirm panel
    // leaves it alone (the tree is switched off then).
    {.Kind = K::Command, .Place = P::Popup, .Name = "mAddBranch2", .English = EnglishText("Add branch"),
     .TextOrder = 25, .Rule = {C::NotLocked, false}, .Handler = [](TMainF& w) { w.editor().AddBranch(); },
     .Keys = Ctrl(Qt::Key_A)},
    {.Kind = K::Command, .Place = P::Popup, .Name = "mDeleteBranch2", .English = EnglishText("Delete branch"),
     .Variant = V::Ellipsis, .TextOrder = 26, .Rule = {C::BranchSelected, false},
     .Handler = [](TMainF& w) { w.editor().DeleteBranch(); }},
    {.Kind = K::Command, .Place = P::Popup, .Name = "mMoveBranchUp2", .English = EnglishText("Move branch up"),
     .TextOrder = 27, .Rule = {C::BranchAbove, false}, .Handler = [](TMainF& w) { w.editor().MoveBranchUp(); },
     .Keys = Ctrl(Qt::Key_U)},
    {.Kind = K::Command, .Place = P::Popup, .Name = "mMoveBranchDown2", .English = EnglishText("Move branch down"),
     .TextOrder = 28, .Rule = {C::BranchBelow, false}, .Handler = [](TMainF& w) { w.editor().MoveBranchDown(); },
     .Keys = Ctrl(Qt::Key_D)},
};
// clang-format on

// The window builds each menu bar menu from its Menu row on: its items must come after it.
constexpr bool menusComeFirst() {
    bool opened[5] = {false, false, false, false, true};
    for (const TMainAction& row : Actions) {
        const auto place = static_cast<std::size_t>(row.Place);
        if (row.Kind == K::Menu)
            opened[place] = true;
        else if (!opened[place])
            return false;
    }
    return true;
}
static_assert(menusComeFirst());

// Every text has its own position: two at one would leave their order to chance.
constexpr bool textOrdersDistinct() {
    for (const TMainAction& a : Actions)
        if ((a.TextOrder > 0) != (a.English != nullptr))
            return false;
    for (const TMainAction& a : Actions)
        for (const TMainAction& b : Actions)
            if (&a != &b && a.TextOrder > 0 && a.TextOrder == b.TextOrder)
                return false;
    return true;
}
static_assert(textOrdersDistinct());

constexpr std::size_t TranslatedCount = static_cast<std::size_t>(std::count_if(
    std::begin(Actions), std::end(Actions), [](const TMainAction& row) { return row.TextOrder > 0; }));

} // namespace

std::span<const TMainAction> mainWindowActions() {
    return Actions;
}

std::span<const TMainAction* const> mainWindowActionsInTextOrder() {
    static const std::array<const TMainAction*, TranslatedCount> ordered = [] {
        std::array<const TMainAction*, TranslatedCount> rows{};
        std::size_t n = 0;
        for (const TMainAction& row : Actions)
            if (row.TextOrder > 0)
                rows[n++] = &row;
        std::sort(rows.begin(), rows.end(),
                  [](const TMainAction* a, const TMainAction* b) { return a->TextOrder < b->TextOrder; });
        return rows;
    }();
    return ordered;
}

QList<QKeySequence> shortcutsOf(const TItemKeys& keys) {
    // The platform's first binding only, as a standard key given to one item always was.
    if (keys.Standard != QKeySequence::UnknownKey)
        return {QKeySequence(keys.Standard)};
    QList<QKeySequence> sequences;
    for (const QKeyCombination key : {keys.First, keys.Second})
        if (key.key() != Qt::Key_unknown)
            sequences.append(QKeySequence(key));
    return sequences;
}

QString designedCaption(const TMainAction& row) {
    if (row.Designed)
        return QString::fromUtf8(row.Designed);
    const QString english = QString::fromUtf8(row.English);
    return row.Variant == TTextVariant::Ellipsis ? english + QStringLiteral("...") : english;
}
