// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentState.h"
#include "document/ProjectDocument.h"
#include "commands/ProjectCommands.h"
#include "files/CommissioningFile.h"
#include "files/ProjectFile.h"
#include "model/Translator.h"
#include "model/BranchList.h"
#include "model/InstrumentText.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Shows that every text went through the translator.
class TBracketTranslator final : public ITranslator {
public:
    QString Translate(const QString& english) const override { return u"["_qs + english + u"]"_qs; }
};

class ProjectCommands : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TProjectDocument document;
    const TProject* project = &document.project();
    TScriptedUserInterface ui;
    TBracketTranslator translator;
    int instrumentSaves = 0;
    TProjectCommandContext context{
        document, ui, translator, 0, QLocale::c(), [this] {
            ++instrumentSaves;
            return true;
        }};

    QString path(const char* file) const { return dir.filePath(QString::fromLatin1(file)); }

    // A saved file with two branches named "X" and "Y".
    QString projectOnDisk(const char* file = "disk.proj") {
        auto other = std::make_unique<TProject>();
        other->Header.Branch_Count = 2;
        InitBranch(*other, 0);
        InitBranch(*other, 1);
        EncodeInstrumentText(u"X"_qs, other->Branches[0].Name, NameFieldSize, 0);
        EncodeInstrumentText(u"Y"_qs, other->Branches[1].Name, NameFieldSize, 0);
        EXPECT_TRUE(SaveProjectFile(path(file), *other));
        return path(file);
    }
    QString loadedName(int branch) const {
        return DecodeInstrumentText(project->Branches[branch].Name, NameFieldSize, 0);
    }
    QStringList kinds() const {
        QStringList out;
        for (const auto& s : ui.Log)
            out << s.Kind;
        return out;
    }
};

} // namespace

TEST_F(ProjectCommands, OpenLoadsAndSetsTheFlags) {
    document.setState({u"instrument"_qs, true, false, true, false});
    int replaced = 0;
    QObject::connect(&document, &TProjectDocument::projectReplaced, [&] { ++replaced; });
    ui.FilesToOpen << projectOnDisk();
    EXPECT_EQ(OpenProjectCommand(context), TOpenResult::Opened);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(loadedName(1), u"Y"_qs);
    EXPECT_EQ(document.state().ProjectFileName, path("disk.proj"));
    EXPECT_FALSE(document.state().IsNewProject);
    EXPECT_FALSE(document.state().Modified);
    EXPECT_FALSE(document.state().LinkedToInstrument);
    EXPECT_TRUE(document.state().HasFileName);
    EXPECT_EQ(ui.Status, u"[Project opened]"_qs);
    EXPECT_EQ(kinds(), (QStringList{u"open"_qs, u"status"_qs})) << "an unchanged project asks nothing";
    EXPECT_TRUE(ui.Log.first().Text.contains(u"*.proj"_qs));
}

TEST_F(ProjectCommands, CancelledOrFailedOpenLeavesEverything) {
    replaceProject(document, [](TProject& p) {
        p.Header.Branch_Count = 1;
        InitBranch(p, 0);
    });
    document.setState({u"mine.proj"_qs, false, false, false, true});
    ui.Status = u"before"_qs;
    const TDocumentState stateBefore = document.state();
    const auto projectBefore = std::make_unique<TProject>(*project);

    int replaced = 0;
    QObject::connect(&document, &TProjectDocument::projectReplaced, [&] { ++replaced; });
    EXPECT_EQ(OpenProjectCommand(context), TOpenResult::Cancelled);

    QFile bad(path("bad.proj"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a project");
    bad.close();
    ui.FilesToOpen << path("bad.proj");
    EXPECT_EQ(OpenProjectCommand(context), TOpenResult::Failed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().first().contains(u"bad.proj"_qs));
    EXPECT_EQ(ui.Log.last().Caption, u"[Error]"_qs);

    EXPECT_EQ(ui.Status, u"before"_qs);
    EXPECT_EQ(document.state().ProjectFileName, stateBefore.ProjectFileName);
    EXPECT_EQ(document.state().HasFileName, stateBefore.HasFileName);
    EXPECT_EQ(document.state().Modified, stateBefore.Modified);
    EXPECT_EQ(std::memcmp(project, projectBefore.get(), sizeof(TProject)), 0);
    EXPECT_EQ(replaced, 0);
}

TEST_F(ProjectCommands, SaveWritesTheFileAndClearsModified) {
    document.setState({path("mine.proj"), false, true, true, true});
    EXPECT_TRUE(SaveProjectCommand(context));
    EXPECT_TRUE(QFile::exists(path("mine.proj")));
    EXPECT_FALSE(document.state().Modified);
    EXPECT_TRUE(document.state().LinkedToInstrument) << "Save does not touch the instrument link";
    EXPECT_EQ(ui.Status, u"[Project saved]"_qs);
}

TEST_F(ProjectCommands, FailedSaveKeepsModifiedAndShowsTheError) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_qs));
    ui.Status = u"before"_qs;
    document.setState({path("folder"), false, true, false, true});
    EXPECT_FALSE(SaveProjectCommand(context));
    EXPECT_TRUE(document.state().Modified);
    EXPECT_EQ(ui.Status, u"before"_qs);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, u"[Error]"_qs);

    // Save as to an impossible place keeps the old name and flags.
    document.setState({path("mine.proj"), true, true, false, false});
    ui.FilesToSave << path("missing/new.proj");
    EXPECT_FALSE(SaveProjectAsCommand(context));
    EXPECT_EQ(document.state().ProjectFileName, path("mine.proj"));
    EXPECT_TRUE(document.state().IsNewProject);
    EXPECT_TRUE(document.state().Modified);
    EXPECT_FALSE(document.state().HasFileName);
    EXPECT_EQ(ui.Status, u"before"_qs);
    EXPECT_EQ(ui.messages().size(), 2);
}

TEST_F(ProjectCommands, SaveAsTakesTheChosenName) {
    document.setState({QString(), true, true, true, false});
    ui.Status = u"before"_qs;
    EXPECT_FALSE(SaveProjectAsCommand(context));
    EXPECT_EQ(ui.Status, u"before"_qs) << "a cancelled dialog changes nothing";
    EXPECT_TRUE(document.state().IsNewProject);

    ui.FilesToSave << path("new.proj");
    EXPECT_TRUE(SaveProjectAsCommand(context));
    EXPECT_TRUE(QFile::exists(path("new.proj")));
    EXPECT_EQ(document.state().ProjectFileName, path("new.proj"));
    EXPECT_FALSE(document.state().IsNewProject);
    EXPECT_FALSE(document.state().Modified);
    EXPECT_TRUE(document.state().HasFileName);
    EXPECT_TRUE(document.state().LinkedToInstrument);
    EXPECT_EQ(ui.Status, u"[Project saved]"_qs);
}

TEST_F(ProjectCommands, AskSaveChangesAsksWhatTheFlagsCallFor) {
    struct Case {
        const char* What;
        TDocumentState State;
        QList<IUserInterface::Answer> Answers;
        QStringList Questions;
        const char* SavedTo; // file written by the disk question, or null
        int InstrumentSaves;
        bool GoesOn = true; // the command that asked may replace the project
    };
    using A = IUserInterface::Answer;
    const QString disk = u"[Project was not saved to disk]"_qs;
    const QString device = u"[Project was not saved to ZRV10]"_qs;
    const std::vector<Case> cases = {
        {"unchanged, even from the instrument",
         {u"ZRV 10: P"_qs, false, false, true, false},
         {},
         {},
         nullptr,
         0},
        {"changed file, Yes", {path("a.proj"), false, true, false, true}, {A::Yes}, {disk}, "a.proj", 0},
        {"changed file, No", {path("b.proj"), false, true, false, true}, {A::No}, {disk}, nullptr, 0},
        {"changed new project, Yes saves as",
         {QString(), true, true, false, false},
         {A::Yes},
         {disk},
         "c.proj",
         0},
        // Whatever its origin, a changed project is offered for saving to disk.
        {"read from the instrument, changed",
         {u"ZRV 10: P"_qs, false, true, true, false},
         {A::No, A::Yes},
         {disk, device},
         nullptr,
         1},
        {"read from the instrument, disk Yes saves as",
         {u"ZRV 10: P"_qs, false, true, true, false},
         {A::Yes, A::No},
         {disk, device},
         "c.proj",
         0},
        {"file and instrument",
         {path("d.proj"), false, true, true, true},
         {A::No, A::Yes},
         {disk, device},
         nullptr,
         1},
        {"Escape at the disk question", {path("e.proj"), false, true, true, true}, {A::Cancel}, {disk}, nullptr,
         0, false},
        {"Escape at the instrument question",
         {path("e.proj"), false, true, true, true},
         {A::No, A::Cancel},
         {disk, device},
         nullptr,
         0,
         false},
        {"Yes, then the save dialog cancelled",
         {QString(), true, true, true, false},
         {A::Yes},
         {disk},
         nullptr,
         0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        document.setState(c.State);
        ui = TScriptedUserInterface();
        ui.Answers = c.Answers;
        if (c.SavedTo)
            ui.FilesToSave << path(c.SavedTo);
        instrumentSaves = 0;
        EXPECT_EQ(AskSaveChanges(context), c.GoesOn);
        QStringList asked;
        for (const auto& s : ui.Log)
            if (s.Kind == u"ask"_qs)
                asked << s.Caption;
        EXPECT_EQ(asked, c.Questions);
        EXPECT_EQ(instrumentSaves, c.InstrumentSaves);
        if (c.SavedTo) {
            EXPECT_TRUE(QFile::exists(path(c.SavedTo)));
            EXPECT_FALSE(document.state().Modified);
        } else {
            EXPECT_TRUE(document.state().Modified || !c.State.Modified);
        }
    }
    EXPECT_FALSE(QFile::exists(path("b.proj")));
}

// Save as proposes the project's file, else its name made fit for a file name; every successful
// open and save names its file for the recent projects, a failed one does not.
TEST_F(ProjectCommands, SaveAsProposesTheNameAndEachUsedFileIsReported) {
    QStringList used;
    context.FileUsed = [&](const QString& file) { used << file; };
    replaceProject(document,
                   [](TProject& p) { EncodeInstrumentText(u"Riser/A"_qs, p.Header.Name, NameFieldSize, 0); });
    document.setState({QString(), true, false, false, false});
    ui.FilesToSave << path("a.proj");
    ASSERT_TRUE(SaveProjectAsCommand(context));
    EXPECT_EQ(ui.DialogStarts.last(), u"Riser_A.proj"_qs);
    EXPECT_FALSE(SaveProjectAsCommand(context)); // cancelled: nothing reported
    EXPECT_EQ(ui.DialogStarts.last(), path("a.proj"));
    document.setModified(true);
    ASSERT_TRUE(SaveProjectCommand(context));

    EXPECT_EQ(OpenProjectPathCommand(context, path("missing.proj")), TOpenResult::Failed);
    EXPECT_EQ(OpenProjectPathCommand(context, projectOnDisk()), TOpenResult::Opened);
    EXPECT_EQ(loadedName(1), u"Y"_qs);
    EXPECT_EQ(used, (QStringList{path("a.proj"), path("a.proj"), path("disk.proj")}));
}

namespace {

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TCommissioningDetails someDetails() {
    TCommissioningDetails d;
    d.Client = u"City hospital"_qs;
    d.System = u"Heating circuit 2"_qs;
    d.LowerTolerancePercent = 5;
    d.UpperTolerancePercent = 10;
    d.TestDate = QDate(2026, 12, 1);
    d.BranchRemarks = {u"valve stiff"_qs, QString()};
    return d;
}

} // namespace

TEST_F(ProjectCommands, DetailsTravelWithTheProjectThroughSaveSaveAsAndOpen) {
    const QString first = projectOnDisk("first.proj");
    ASSERT_EQ(OpenProjectPathCommand(context, first), TOpenResult::Opened);
    const QByteArray projectBytes = bytesOf(first);

    // Nothing to keep and no file there: Save leaves no details file behind.
    changeState(document, [](TDocumentState& s) { s.Modified = true; });
    ASSERT_TRUE(SaveProjectCommand(context));
    EXPECT_FALSE(QFile::exists(path("first.commissioning.json")));

    document.setCommissioning(someDetails());
    changeState(document, [](TDocumentState& s) { s.Modified = true; });
    ASSERT_TRUE(SaveProjectCommand(context));
    EXPECT_EQ(bytesOf(first), projectBytes) << "the project file is the same with details as without";
    EXPECT_EQ(bytesOf(path("first.commissioning.json")), CommissioningJson(someDetails()));

    ui.FilesToSave << path("copy.proj");
    ASSERT_TRUE(SaveProjectAsCommand(context));
    EXPECT_EQ(bytesOf(path("copy.commissioning.json")), bytesOf(path("first.commissioning.json")));

    document.resetToNew();
    EXPECT_EQ(document.commissioning().Client, QString()) << "New has no details";
    ASSERT_EQ(OpenProjectPathCommand(context, path("copy.proj")), TOpenResult::Opened);
    EXPECT_EQ(document.commissioning(), someDetails());
    EXPECT_TRUE(ui.messages().isEmpty());

    // Details cleared by the user: the file that was there follows, emptied.
    document.setCommissioning({});
    changeState(document, [](TDocumentState& s) { s.Modified = true; });
    ASSERT_TRUE(SaveProjectCommand(context));
    TCommissioningDetails reread;
    EXPECT_EQ(LoadCommissioningFile(path("copy.commissioning.json"), translator, reread, nullptr),
              TCommissioningLoad::Loaded);
    EXPECT_EQ(reread.Client, QString());
}

TEST_F(ProjectCommands, ADamagedDetailsFileIsToldOpensWithoutDetailsAndIsReplacedOnlyWhenTheUserSaysSo) {
    const QString file = projectOnDisk("site.proj");
    const QString sidecar = path("site.commissioning.json");
    const QByteArray damaged = "{\"format\": \"zrv10-commissioning\", \"version\": 1, \"client\": 7";
    writeBytes(sidecar, damaged);

    ASSERT_EQ(OpenProjectPathCommand(context, file), TOpenResult::Opened);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.first().Caption, u"[Commissioning details]"_qs);
    EXPECT_TRUE(ui.messages().first().contains(u"not readable JSON"_qs));
    EXPECT_TRUE(ui.messages().first().contains(QDir::toNativeSeparators(sidecar)));
    EXPECT_EQ(loadedName(1), u"Y"_qs);
    EXPECT_EQ(document.commissioning().Client, QString());
    EXPECT_EQ(document.commissioning().BranchRemarks, QStringList({QString(), QString()}));

    // No and Escape alike keep the file; the project itself is saved, and stays changed, since its
    // details are nowhere on disk.
    document.setCommissioning(someDetails());
    for (const auto answer : {IUserInterface::Answer::No, IUserInterface::Answer::Cancel}) {
        changeState(document, [](TDocumentState& s) { s.Modified = true; });
        ui.Log.clear();
        ui.Answers = {answer};
        EXPECT_TRUE(SaveProjectCommand(context));
        ASSERT_EQ(ui.Log.size(), 2);
        EXPECT_EQ(ui.Log.first().Kind, u"ask"_qs);
        EXPECT_TRUE(ui.Log.first().DefaultNo);
        EXPECT_TRUE(ui.Log.first().Text.contains(QDir::toNativeSeparators(sidecar)));
        EXPECT_EQ(bytesOf(sidecar), damaged);
        EXPECT_TRUE(document.state().Modified) << "closing must still ask for the details";
    }

    changeState(document, [](TDocumentState& s) { s.Modified = true; });
    ui.Answers = {IUserInterface::Answer::Yes};
    EXPECT_TRUE(SaveProjectCommand(context));
    EXPECT_EQ(bytesOf(sidecar), CommissioningJson(someDetails()));
    EXPECT_FALSE(document.state().Modified);
}

TEST_F(ProjectCommands, DetailsThatCannotBeWrittenAreAnErrorNotASave) {
    const QString file = projectOnDisk("locked.proj");
    ASSERT_EQ(OpenProjectPathCommand(context, file), TOpenResult::Opened);
    // A folder where the details file belongs: no file can be written there.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"locked.commissioning.json"_qs));
    document.setCommissioning(someDetails());
    changeState(document, [](TDocumentState& s) { s.Modified = true; });
    ui.Status = u"before"_qs;
    ui.Answers = {IUserInterface::Answer::Yes};
    EXPECT_FALSE(SaveProjectCommand(context));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, u"[Error]"_qs);
    EXPECT_TRUE(ui.messages().first().startsWith(
        u"[The project was saved, but its commissioning details were not:]"_qs));
    EXPECT_TRUE(document.state().Modified) << "closing must still ask";
    EXPECT_EQ(ui.Status, u"before"_qs);
}
