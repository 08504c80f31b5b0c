// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/DesktopProgram.h"

#include "program/DesktopApplication.h"

#include "files/ProcessPaths.h"
#include "localisation/MessageCatalogue.h"
#include "commands/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OpenFiles.h"
#include "model/Clock.h"
#include "printing/PrintPreview.h"
#include "records/RecordOpenDialog.h"
#include "records/RecordsWindow.h"

#include <QDir>
#include <QIcon>
#include <QMessageBox>

#include <exception>
#include <memory>
#include <optional>

int RunDesktopProgram(int argc, char** argv) {
    TApplication application(argc, argv);
    try {
        QApplication::setApplicationName(QStringLiteral("ZRV 10 User Software"));
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/zrv10/zrv10.png")));

        // Beside the program when it runs from a portable folder, else in the user's folders.
        const TApplicationPaths paths = ProcessApplicationPaths();
        CreateUserFolders(paths);
        TApplicationState state(paths, QCoreApplication::applicationFilePath(), QLocale());
        TSystemClock clock;

        // All but the main window stay hidden until used, and are made on first use (the unit dialog
        // by the main window itself), so that the main window's first paint waits for none of them.
        TMainF mainF(state, clock);
        // One preview for both reports.
        std::unique_ptr<TTiskF> tiskF;
        const auto preview = [&] {
            if (!tiskF)
                tiskF = std::make_unique<TTiskF>(state.Messages);
            return tiskF.get();
        };
        std::unique_ptr<TRecordsF> recordsF;
        std::unique_ptr<TRecordOpenF> recordOpenF;
        // Also gives the records window its instrument read and its way to clear the main status.
        mainF.setRecordsWindowMaker([&] {
            recordsF = std::make_unique<TRecordsF>(state);
            recordOpenF = std::make_unique<TRecordOpenF>(state.Messages, recordsF.get());
            recordsF->setCentredOver(&mainF);
            recordsF->setPrintPreview(preview());
            return recordsF.get();
        });
        // The list shows each record's first sample and length beside its description. The read
        // that asks has made the records window and with it the list.
        mainF.setRecordChooser([&recordOpenF](const TRecordStore& read, const QStringList& captions) -> std::optional<int> {
            if (!recordOpenF)
                return std::nullopt;
            const std::vector<TRecordListRow> rows = RecordListRows(read);
            return rows.size() == static_cast<std::size_t>(captions.size()) ? recordOpenF->choose(rows)
                                                                            : recordOpenF->choose(captions);
        });
        mainF.setPrintPreviewMaker(preview);

        // Files from the command line (the desktop entry's %F) open once the program has started;
        // files dropped on the main window open at once.
        const TFileOpeners openers{
            [&mainF](const QString& path) { mainF.OpenProjectPath(path); },
            [&mainF](const QString& path) { mainF.OpenRecordPath(path); },
            [&mainF, &state](const QString& path) {
                QMessageBox::warning(&mainF, state.Messages.Translate(QStringLiteral("Error")),
                                     state.Messages.Translate(QStringLiteral("This kind of file cannot be opened")) +
                                         QStringLiteral(":\n") + path);
            }};
        QStringList files = QCoreApplication::arguments().mid(1);
        files.removeIf([](const QString& arg) { return arg.startsWith(u'-'); });
        mainF.setAfterStartup([files, &openers] { OpenFiles(files, openers); });
        new TFileDropFilter(mainF, openers);

        mainF.show();
        return TApplication::exec();
    } catch (const std::exception& e) {
        showExceptionMessage(e.what());
    } catch (...) {
        showExceptionMessage(nullptr);
    }
    return 0;
}
