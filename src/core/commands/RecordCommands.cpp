// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/RecordCommands.h"

#include "files/RecordFile.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/RecordModel.h"
#include "commands/UserInterface.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

const QString RecordExtension = QStringLiteral("r9q4");

TFileDialogOptions recordDialog(const char* filter) {
    TFileDialogOptions options;
    options.Filter = QLatin1String(filter);
    options.DefaultExtension = RecordExtension;
    return options;
}

// A name typed without extension gets the record extension, as the window's dialog adds it; the
// companion and the scripted answers pass names as typed.
QString withRecordExtension(const QString& path) {
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + RecordExtension;
}

// An open dialog takes the name as typed; a name without extension that names no file stands for
// the record file of that name.
QString existingRecordFile(const QString& path) {
    if (QFileInfo::exists(path))
        return path;
    const QString completed = withRecordExtension(path);
    return QFileInfo::exists(completed) ? completed : path;
}

void showError(TRecordCommandContext& c, const QString& text) {
    c.Ui.showMessage(c.Translator.Translate(QStringLiteral("Error")), text);
}

struct TExportDialog {
    const char* Filter;
    const char* Extension;
};

TExportDialog exportDialog(TExportFormat format) {
    switch (format) {
    case TExportFormat::Csv:
        return {"CSV Files (*.csv)", "csv"};
    case TExportFormat::Html:
        return {"HTML Files (*.htm *.html)", "htm"};
    case TExportFormat::Xls:
        break;
    }
    return {"XLS Files (*.xls)", "xls"};
}

} // namespace

QString ProposedRecordFile(const TRecordStore& store, const QString& extension) {
    if (!store.FileName.isEmpty()) {
        const QFileInfo file(store.FileName);
        return QDir(file.absolutePath()).filePath(file.completeBaseName() + u'.' + extension);
    }
    QString name = store.CurrentHeader.Description.simplified();
    if (store.heldSamples() > 0) {
        const QDate first = QDate::fromString(store.Samples[0].Date, QStringLiteral("dd.MM.yyyy"));
        if (first.isValid())
            name += (name.isEmpty() ? QString() : QStringLiteral(" ")) + first.toString(Qt::ISODate);
    }
    // Characters that a file name cannot hold, or that would make it a path.
    for (QChar& ch : name) {
        if (ch == u'/' || ch == u'\\' || ch == u':' || ch.unicode() < 0x20)
            ch = u'_';
    }
    if (name.isEmpty() || name.startsWith(u'.'))
        return {};
    return name + u'.' + extension;
}

TRecordOpenResult OpenRecordFileCommand(TRecordCommandContext& c) {
    const QString chosen = c.Ui.chooseFileToOpen(recordDialog("Records (*.r9q4);;All Files (*)"));
    if (chosen.isEmpty())
        return TRecordOpenResult::Cancelled;
    return OpenRecordPathCommand(c, chosen);
}

TRecordOpenResult OpenRecordPathCommand(TRecordCommandContext& c, const QString& path) {
    const QString file = existingRecordFile(path);
    QString error;
    if (!LoadRecordFile(c.Store, file, c.Units, c.Translator, &error)) {
        showError(c, error);
        return TRecordOpenResult::Failed;
    }
    if (c.FileUsed)
        c.FileUsed(file);
    return TRecordOpenResult::Loaded;
}

bool SaveRecordFileCommand(TRecordCommandContext& c) {
    TFileDialogOptions options = recordDialog("K9Q4 Records (*.r9q4);;All Files (*)");
    options.InitialPath = ProposedRecordFile(c.Store, RecordExtension);
    const QString chosen = c.Ui.chooseFileToSave(options);
    if (chosen.isEmpty())
        return false;
    QString error;
    const QString file = withRecordExtension(chosen);
    if (!SaveRecordFile(c.Store, file, &error)) {
        showError(c, error);
        return false;
    }
    c.Store.FileName = file;
    if (c.FileUsed)
        c.FileUsed(file);
    return true;
}

bool ExportRecordTableCommand(TRecordCommandContext& c, const TTextTable& table, TExportFormat format) {
    const TExportDialog dialog = exportDialog(format);
    TFileDialogOptions options;
    options.Filter = QLatin1String(dialog.Filter);
    // Only names without any extension get it from the dialog, which the export's own name rule
    // would give them too; the overwrite question then names the file really written.
    options.DefaultExtension = QLatin1String(dialog.Extension);
    const QString chosen = c.Ui.chooseFileToSave(options);
    if (chosen.isEmpty())
        return false;
    QString error;
    bool written = false;
    switch (format) {
    case TExportFormat::Csv:
        written = ExportTableCsv(table, chosen, &error);
        break;
    case TExportFormat::Html:
        written = ExportTableHtml(table, chosen, &error);
        break;
    case TExportFormat::Xls:
        written = ExportTableXls(table, chosen, c.Units.Locale, &error, c.WorksheetCodePage);
        break;
    }
    if (!written)
        showError(c, error);
    return written;
}
