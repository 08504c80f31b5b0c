// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"
#include "commands/CommandRules.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/QtStandardTexts.h"
#include "printing/PrinterSetup.h"
#include "model/ChooseDeviceRecord.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class IClock;
class IPause;
class IUserInterface;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class TBalancingCommands;
class TComparisonCommands;
class TFUnitSel;
class TProjectEditor;
class TRecordsF;
class TTiskF;
struct TApplicationState;
struct TProject;
struct TProjectCommandContext;

// The main window: project tree and editor pages side by side, the menus with their enabling rules,
// the title, the status bar, the start-up sequence and the close questions. The editing itself is
// the editor's; the file and instrument commands are the core's, wired here.
class TMainF : public QMainWindow, public IMainWindowHooks {
    Q_OBJECT
public:
    // The questions go to real dialogs parented to this window.
    TMainF(TApplicationState& state, const IClock& clock, QWidget* parent = nullptr);
    // The questions go to `ui` (tests pass a scripted one).
    TMainF(TApplicationState& state, IUserInterface& ui, const IClock& clock, QWidget* parent = nullptr);
    ~TMainF() override;

    // How the program ends when it cannot run without a valve catalogue. The default leaves the
    // message loop with the code; the window is then not closed, so nothing is saved or asked.
    void setExitFunction(std::function<void(int)> exitFunction);
    // The protocol's pauses; the default sleeps.
    void setPause(IPause& pause);
    // The records window, shown by the record commands. Its own instrument read runs through this
    // window's link, and its closing clears this window's status text.
    void setRecordsWindow(TRecordsF* recordsWindow);
    // Or makes it on first use, so that start-up does not wait for it; then as setRecordsWindow().
    void setRecordsWindowMaker(std::function<TRecordsF*()> make) { m_makeRecordsWindow = std::move(make); }
    // Lets the user pick one of the records read from the instrument; without one nothing is chosen.
    // `read` holds the records just read (the tables in memory change only after the choice).
    using TReadRecordChooser = std::function<std::optional<int>(const TRecordStore& read, const QStringList& captions)>;
    void setRecordChooser(TReadRecordChooser chooser);
    // Runs once the start-up sequence has ended with a catalogue (opens the files of the command line).
    void setAfterStartup(std::function<void()> afterStartup) { m_afterStartup = std::move(afterStartup); }
    // Where the reports are shown before printing; without one the window makes its own.
    void setPrintPreview(TTiskF* preview);
    // Or makes it on first use.
    void setPrintPreviewMaker(std::function<TTiskF*()> make) { m_makePrintPreview = std::move(make); }
    // Chooses the printer before a print; the default is Qt's print dialog.
    void setPrinterSetup(TPrinterSetup setup);

    // Title, lock of the inputs, enabling rules and undo texts: the handler of the document's
    // stateChanged (and of its history's steps), never called after a command.
    void UpdateWindowState();
    void EnableMainCommands(bool on) override;
    void SetStatus(const QString& text) override;

    // Runs once, on the event loop right after the window's first paint, so that the window is on
    // screen before the first message and its first paint waits for none of the files.
    void StartupSequence();
    void ApplyMainWindowTexts();
    // The save questions before a command replaces the project; false when that command must stop.
    bool AskSaveChanges();
    void ResetProject();

    // The commands of the menus.
    void NewProject();
    void OpenProject();
    // Open for a file already chosen (command line, dropped file, recent projects).
    void OpenProjectPath(const QString& path);
    void SaveProject();
    void SaveProjectAs();
    // The exchange with the engineering workbook; the window is rebuilt after a successful one.
    void ImportWorkbook();
    void ExportWorkbook();
    void ReadProjectFromInstrument();
    TDeviceResult SaveProjectToInstrument();
    void TestConnection();
    TDeviceResult ReadValvesFromInstrument();
    // "Open" record file: the records window's open dialog and load; the window is shown unless the
    // dialog was cancelled, also after a failed load (it then shows what it showed before).
    void OpenRecordFile();
    // The same for a file already chosen.
    void OpenRecordPath(const QString& path);
    // Reads the records from the instrument; when one was chosen, shows it in the records window,
    // modally. True when a record was chosen.
    bool ReadRecordsFromInstrument();
    void SetupPage();
    void SetupPrinter();
    // "Print...": the printer set-up, the project report in the preview, then the print.
    void CmProjektPrint();
    // "Commissioning certificate...": the printer set-up, the certificate of the project and its
    // details in the preview, then the print.
    void PrintCommissioningCertificate();
    void ChooseUnits();
    void ChooseLanguage();
    // The project's commissioning details (one undoable edit) and the user's own (into the settings
    // file at once).
    void EditCommissioningDetails();
    // Edit > Undo and Redo: the editor steps through the project's history.
    void Undo();
    void Redo();
    // Options > Verify after writing to device; kept in the settings file when the window closes.
    void SetVerifyAfterWrite(bool on);

    TProjectEditor& editor() const { return *m_editor; }
    TBalancingCommands& balancing() const { return *m_balancing; }
    TComparisonCommands& comparison() const { return *m_comparison; }
    QString statusText() const;
    // A menu item, pop-up item or top-level menu action by its object name; null when there is none.
    QAction* action(const QString& name) const;
    QPushButton* testUsbButton() const { return m_testUsb; }
    // Made on first use.
    TFUnitSel& unitDialog();
    bool isTerminated() const { return m_terminated; }

signals:
    // A device operation began or ended: the commands follow the busy rule.
    void deviceRunningChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void init();
    void buildFrame();
    void buildMenus();
    TCommandState commandState() const;
    void applyCommandRules(const TCommandState& state);
    TProjectCommandContext commandContext();
    // The units and language in force and everything else of m_state.Settings into the settings
    // file; a failure is shown.
    bool storeSettings();
    // Empties a status text that the first change after a save, open or transfer has made untrue.
    void dropStaleStatus();
    // Edit > Undo and Redo name the history's next edits.
    void updateTitle();
    void updateUndoTexts();
    TDeviceResult runDeviceOperation(const std::function<TDeviceResult(const TDeviceOperationContext&)>& op);
    void setDeviceRunning(bool running);
    // The read shared with the records window: the record goes into that window, and its status bar
    // gets this window's status text, whatever the outcome.
    bool readRecordsIntoRecordsWindow();
    QString tr_(const char* english) const;
    TTiskF& printPreview();
    // The records window, made now if only its maker was given; null without either.
    TRecordsF* recordsWindow();

    TApplicationState& m_state;
    const IClock& m_clock;
    std::unique_ptr<IUserInterface> m_ownUi;
    IUserInterface* m_ui = nullptr;
    std::unique_ptr<IPause> m_ownPause;
    IPause* m_pause = nullptr;
    std::function<void(int)> m_exit;
    std::function<void()> m_afterStartup;
    TProjectEditor* m_editor = nullptr;
    TFUnitSel* m_unitSel = nullptr;
    TRecordsF* m_recordsWindow = nullptr;
    std::function<TRecordsF*()> m_makeRecordsWindow;
    TReadRecordChooser m_recordChooser;
    TTiskF* m_printPreview = nullptr;
    std::function<TTiskF*()> m_makePrintPreview;
    TPrinterSetup m_printerSetup;
    TQtStandardTexts m_qtTexts;
    QTimer m_timerStart;
    bool m_painted = false;
    QLabel* m_status = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_testUsb = nullptr;
    QMenu* m_popup = nullptr;
    // The items of mainWindowActions(), row by row; null for a separator.
    std::vector<QAction*> m_items;
    TBalancingCommands* m_balancing = nullptr;
    TComparisonCommands* m_comparison = nullptr;
    bool m_started = false;
    bool m_terminated = false;
    // Off while a confirm panel is open: the enabling rules then keep the main menu's items off.
    bool m_mainCommandsOn = true;
    bool m_wasModified = false;
    // A device operation runs on its worker: the document is read-only meanwhile.
    bool m_deviceRunning = false;
    QPointer<QWidget> m_focusBeforeDevice;
};
