// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ProjectCommands.h"

#include "document/ProjectDocument.h"
#include "files/CommissioningFile.h"
#include "files/ProjectFile.h"
#include "model/Translator.h"
#include "model/NameQuestions.h"
#include "model/ProjectNames.h"
#include "commands/UserInterface.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

TFileDialogOptions projectDialog(const TProjectCommandContext& c) {
    TFileDialogOptions options;
    options.Filter = QStringLiteral("Project files (*.proj);;All Files (*)");
    options.DefaultExtension = QStringLiteral("proj");
    if (c.Document.state().HasFileName)
        options.InitialPath = c.Document.state().ProjectFileName;
    return options;
}

// The project's name as a file name: characters a file name cannot hold become '_'.
QString proposedFileName(const TProjectCommandContext& c) {
    const TProject& project = c.Document.project();
    QString name = NameText(project, project.Header.Name).trimmed();
    for (QChar& ch : name) {
        if (ch == u'/' || ch == u'\\' || ch.unicode() < 0x20)
            ch = u'_';
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name + QStringLiteral(".proj");
}

void showError(TProjectCommandContext& c, const QString& text) {
    c.Ui.showMessage(c.Translator.Translate(QStringLiteral("Error")), text);
}

// Yes to going on, asked with No as the default: the names would not come back as they are.
bool namesMayChange(TProjectCommandContext& c, TNamesAt where, const QStringList& names) {
    if (names.isEmpty())
        return true;
    const QString caption = where == TNamesAt::ProjectFile
                                ? c.Translator.Translate(QStringLiteral("Saving project"))
                                : c.Translator.Translate(QStringLiteral("Project"));
    return c.Ui.askDefaultNo(caption, NamesQuestion(c.Translator, where, names)) ==
           IUserInterface::Answer::Yes;
}

bool hasNoDetails(const TCommissioningDetails& details) {
    TCommissioningDetails none;
    none.BranchRemarks = details.BranchRemarks;
    none.BranchRemarks.fill(QString());
    return details == none;
}

// Whether the details go beside the project at `path`. A project without details leaves no file
// where there was none; a file there that cannot be read may hold what the user still wants, so it
// is replaced only when they say so.
bool writeDetailsBeside(TProjectCommandContext& c, const QString& path) {
    const QString sidecar = CommissioningPathFor(path);
    if (!QFileInfo::exists(sidecar))
        return !hasNoDetails(c.Document.commissioning());
    TCommissioningDetails onDisk;
    if (LoadCommissioningFile(sidecar, c.Translator, onDisk, nullptr) != TCommissioningLoad::Failed)
        return true;
    const QString question =
        c.Translator
            .Translate(QStringLiteral("The commissioning details in %1 cannot be read. Replace them with "
                                      "the details of this project?"))
            .arg(QDir::toNativeSeparators(sidecar)) +
        QStringLiteral("\n\n") +
        c.Translator.Translate(QStringLiteral("No saves the project alone and keeps that file as it is."));
    return c.Ui.askDefaultNo(c.Translator.Translate(QStringLiteral("Saving project")), question) ==
           IUserInterface::Answer::Yes;
}

enum class TSaved { No, Whole, DetailsLeftOut };

TSaved saveTo(TProjectCommandContext& c, const QString& path) {
    // Typed and imported names cannot hold "</"; one read from the instrument may.
    if (!namesMayChange(c, TNamesAt::ProjectFile, NamesBreakingProjectFile(c.Document.project())))
        return TSaved::No;
    const bool withDetails = writeDetailsBeside(c, path);
    QString error;
    if (!SaveProjectFile(path, c.Document.project(), &error)) {
        showError(c, error);
        return TSaved::No;
    }
    // The project stays changed: closing still asks, and the details are not lost.
    if (withDetails &&
        !SaveCommissioningFile(CommissioningPathFor(path), c.Document.commissioning(), &error)) {
        showError(c, c.Translator.Translate(QStringLiteral("The project was saved, but its commissioning "
                                                           "details were not:")) +
                         u'\n' + error);
        return TSaved::No;
    }
    return withDetails || hasNoDetails(c.Document.commissioning()) ? TSaved::Whole : TSaved::DetailsLeftOut;
}

// Details the user kept out of a damaged file live only in memory: the project stays changed, so that
// closing still asks for them.
bool finishSave(TProjectCommandContext& c, const QString& path, TSaved saved) {
    if (saved == TSaved::No)
        return false;
    if (c.FileUsed)
        c.FileUsed(path);
    c.Document.markSavedToFile(path);
    if (saved == TSaved::DetailsLeftOut)
        c.Document.setModified(true);
    c.Ui.setStatus(c.Translator.Translate(QStringLiteral("Project saved")));
    return true;
}

// The load shared by both opens; a failed one has been shown.
TOpenResult loadProject(TProjectCommandContext& c, const QString& path) {
    QString error;
    QStringList notHeld;
    // Loaded beside the open project, which a failed load must leave as it was.
    auto fresh = std::make_unique<TProject>(c.Document.project());
    if (!LoadProjectFile(path, *fresh, c.CodePage, c.Locale, &error, &notHeld)) {
        showError(c, error);
        return TOpenResult::Failed;
    }
    if (!namesMayChange(c, TNamesAt::OpenedFile, notHeld))
        return TOpenResult::Cancelled;
    // Damaged details do not keep the project shut; their file stays as it is.
    TCommissioningDetails details;
    const QString sidecar = CommissioningPathFor(path);
    const TCommissioningLoad detailsLoad = LoadCommissioningFile(sidecar, c.Translator, details, &error);
    c.Document.replaceFromFile(*fresh, path, details);
    if (detailsLoad == TCommissioningLoad::Failed)
        c.Ui.showMessage(c.Translator.Translate(QStringLiteral("Commissioning details")),
                         error + QStringLiteral("\n\n") +
                             c.Translator
                                 .Translate(QStringLiteral("The project is opened without its commissioning "
                                                           "details. The file %1 is kept as it is."))
                                 .arg(QDir::toNativeSeparators(sidecar)));
    c.Ui.setStatus(c.Translator.Translate(QStringLiteral("Project opened")));
    if (c.FileUsed)
        c.FileUsed(path);
    return TOpenResult::Opened;
}

} // namespace

TOpenResult OpenProjectCommand(TProjectCommandContext& c) {
    if (!AskSaveChanges(c))
        return TOpenResult::Cancelled;
    const QString path = c.Ui.chooseFileToOpen(projectDialog(c));
    if (path.isEmpty())
        return TOpenResult::Cancelled;
    return loadProject(c, path);
}

TOpenResult OpenProjectPathCommand(TProjectCommandContext& c, const QString& path) {
    if (!AskSaveChanges(c))
        return TOpenResult::Cancelled;
    return loadProject(c, path);
}

bool SaveProjectCommand(TProjectCommandContext& c) {
    const QString path = c.Document.state().ProjectFileName;
    if (path.isEmpty() || !c.Document.state().HasFileName)
        return SaveProjectAsCommand(c);
    return finishSave(c, path, saveTo(c, path));
}

bool SaveProjectAsCommand(TProjectCommandContext& c) {
    TFileDialogOptions options = projectDialog(c);
    if (options.InitialPath.isEmpty())
        options.InitialPath = proposedFileName(c);
    const QString path = c.Ui.chooseFileToSave(options);
    if (path.isEmpty())
        return false;
    return finishSave(c, path, saveTo(c, path));
}

bool AskSaveChanges(TProjectCommandContext& c) {
    const TDocumentState& s = c.Document.state();
    if (!s.Modified)
        return true;
    const ITranslator& t = c.Translator;
    using Answer = IUserInterface::Answer;
    // Whatever the project came from: changes that are in no file are lost unless saved now.
    const Answer toDisk = c.Ui.ask(t.Translate(QStringLiteral("Project was not saved to disk")),
                                   t.Translate(QStringLiteral("Save now?")));
    if (toDisk == Answer::Cancel)
        return false;
    if (toDisk == Answer::Yes && !(s.HasFileName ? SaveProjectCommand(c) : SaveProjectAsCommand(c)))
        return false;
    if (s.LinkedToInstrument) {
        const Answer answer = c.Ui.ask(t.Translate(QStringLiteral("Project was not saved to ZRV10")),
                                       t.Translate(QStringLiteral("Save now to ZRV10?")));
        if (answer == Answer::Cancel)
            return false;
        if (answer == Answer::Yes && c.SaveToInstrument && !c.SaveToInstrument())
            return false;
    }
    return true;
}

bool AskSaveChangesBeforeClose(TProjectCommandContext& c) {
    return AskSaveChanges(c);
}
