// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainWindow.h"

#include "document/EditCommands.h"
#include "document/ProjectDocument.h"
#include "document/ProjectUndo.h"
#include "files/FileHistory.h"
#include "commands/ProjectCommands.h"
#include "files/Settings.h"
#include "link/DriverLibrary.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "commands/DeviceRecordRead.h"
#include "commands/DeviceTexts.h"
#include "commands/DeviceUserInterface.h"
#include "link/ValveTransfer.h"
#include "localisation/ApplyMenuAccelerators.h"
#include "localisation/MenuAccelerators.h"
#include "localisation/InstrumentCodePage.h"
#include "localisation/LanguageDialog.h"
#include "commands/ApplicationState.h"
#include "commands/DeviceWorker.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/ComparisonCommands.h"
#include "mainwindow/CommissioningDialog.h"
#include "mainwindow/MainWindowActions.h"
#include "mainwindow/MainWindowLogo.h"
#include "commands/MainWindowTexts.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/TransferProgressDialog.h"
#include "mainwindow/UnitDialog.h"
#include "model/ProjectRecords.h"
#include "files/ValveCache.h"
#include "printing/CommissioningCertificate.h"
#include "printing/PreviewAndPrint.h"
#include "printing/PrintPreview.h"
#include "printing/ProjectReport.h"
#include "records/RecordsWindow.h"
#include "commands/WorkbookCommands.h"
#include "commands/FolderMemoryUserInterface.h"
#include "ui/QtUserInterface.h"
#include "ui/RecentFilesMenu.h"
#include "ui/StatusLine.h"

#include <QCloseEvent>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <utility>

namespace {

constexpr int LeftPaneWidth = 300;
constexpr int BottomPanelHeight = 62;
constexpr QSize ClientSize(846, 561);

QFont windowFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

} // namespace

TMainF::TMainF(TApplicationState& state, const IClock& clock, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_clock(clock) {
    m_ownUi = std::make_unique<TFolderMemoryUserInterface>(
        std::make_unique<TQtUserInterface>(this, [this](const QString& text) { SetStatus(text); }),
        m_state.History, [this] { m_state.saveHistory(); });
    m_ui = m_ownUi.get();
    init();
}

TMainF::TMainF(TApplicationState& state, IUserInterface& ui, const IClock& clock, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_clock(clock), m_ui(&ui) {
    init();
}

TMainF::~TMainF() = default;

void TMainF::init() {
    setObjectName(QStringLiteral("MainF"));
    m_ownPause = std::make_unique<TRealPause>();
    m_pause = m_ownPause.get();
    m_exit = [](int code) { QCoreApplication::exit(code); };
    m_printerSetup = PrintDialogSetup(this);
    setWindowTitle(QLatin1String(ProductTitle));
    setFont(windowFont(13));

    m_editor = new TProjectEditor(m_state, *m_ui, *this, m_clock, this);
    buildFrame();
    buildMenus();
    // The title, the Save item and the undo items follow the document and its history.
    connect(&m_state.Document, &TProjectDocument::stateChanged, this, &TMainF::UpdateWindowState);
    connect(&m_state.Document, &TProjectDocument::stateChanged, this, &TMainF::dropStaleStatus);
    connect(&m_editor->undo().stack(), &QUndoStack::indexChanged, this, &TMainF::UpdateWindowState);
    connect(this, &TMainF::deviceRunningChanged, this, &TMainF::UpdateWindowState);
    // The branch commands follow the branch the editor acts on.
    connect(m_editor, &TProjectEditor::currentBranchChanged, this,
            [this] { applyCommandRules(commandState()); });

    resize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height() + StatusLineHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Started by the first paint (see event()).
    m_timerStart.setSingleShot(true);
    m_timerStart.setInterval(0);
    connect(&m_timerStart, &QTimer::timeout, this, &TMainF::StartupSequence);
}

bool TMainF::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // The settings, the languages and the valve catalogue load after the window is on screen.
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        m_timerStart.start();
    }
    return handled;
}

void TMainF::buildFrame() {
    auto* left = new QWidget;
    left->setObjectName(QStringLiteral("leftPane"));
    left->setMinimumWidth(LeftPaneWidth);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);

    QTreeView* tree = m_editor->tree();
    tree->setObjectName(QStringLiteral("PrjTree"));
    tree->setIndentation(19);
    leftLayout->addWidget(tree, 1);

    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("diaPanelBo"));
    panel->setFixedHeight(BottomPanelHeight);
    panel->setAttribute(Qt::WA_StyledBackground);
    // Style sheets, since the splitter's own style sheet overrides palettes beneath it.
    panel->setStyleSheet(QStringLiteral("#diaPanelBo { background-color: rgb(31,31,31); }"
                                        "#diaVersion { color: white; }"));
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 1, 0, 1);
    panelLayout->setSpacing(8);
    auto* logo = new QLabel;
    logo->setObjectName(QStringLiteral("diaLogo"));
    logo->setPixmap(mainWindowLogo());
    logo->setFixedSize(LogoSize);
    panelLayout->addWidget(logo);
    m_version = new QLabel;
    m_version->setObjectName(QStringLiteral("diaVersion"));
    m_version->setFont(windowFont(13));
    m_version->setText(QStringLiteral(" Version ") + QLatin1String(ProgramVersion));
    panelLayout->addWidget(m_version, 1);
    // Kept for the connection test but out of sight, as it always was.
    m_testUsb = new QPushButton(QStringLiteral("Test USB"), panel);
    m_testUsb->setObjectName(QStringLiteral("Button1"));
    m_testUsb->hide();
    connect(m_testUsb, &QPushButton::clicked, this, &TMainF::TestConnection);
    leftLayout->addWidget(panel);

    QTabWidget* pages = m_editor->pages();
    pages->setObjectName(QStringLiteral("PageEdit"));
    pages->setMinimumSize(540, 480);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setHandleWidth(4);
    splitter->setChildrenCollapsible(false);
    splitter->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: rgb(255,128,0); }"));
    splitter->addWidget(left);
    splitter->addWidget(pages);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({LeftPaneWidth, ClientSize.width() - LeftPaneWidth - 4});
    setCentralWidget(splitter);

    m_status = AddStatusLine(*this);
}

void TMainF::buildMenus() {
    m_balancing = new TBalancingCommands(
        {m_state, *m_ui, *this, *m_editor->tree(), m_editor->undo(), [this] { return m_printerSetup; },
         [this]() -> TTiskF& { return printPreview(); }},
        this);
    m_comparison = new TComparisonCommands(
        {m_state, *m_ui, *this, [this](int branch) { m_balancing->SelectBranch(branch); }}, this);
    // The comparison rates its moves by the tolerance the summary sets.
    connect(m_balancing, &TBalancingCommands::toleranceChanged, m_comparison, &TComparisonCommands::refresh);
    QTreeView* tree = m_editor->tree();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* menus[] = {nullptr, nullptr, nullptr, nullptr, m_popup};

    const std::span<const TMainAction> rows = mainWindowActions();
    m_items.assign(rows.size(), nullptr);
    QAction* lastCommand = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TMainAction& row = rows[i];
        QMenu*& menu = menus[static_cast<std::size_t>(row.Place)];
        switch (row.Kind) {
        case TItemKind::Menu:
            menu = menuBar()->addMenu(designedCaption(row));
            menu->setObjectName(QLatin1String(row.Name) + QStringLiteral("Menu"));
            m_items[i] = menu->menuAction();
            break;
        case TItemKind::Separator:
            menu->addSeparator();
            continue;
        case TItemKind::RecentFiles:
            // Its entries open nothing while the item above it (Open) cannot.
            m_items[i] =
                AddRecentFilesMenu(
                    *menu, nullptr, row.Name, m_state.History.Projects, lastCommand, *m_ui, m_state.Messages,
                    [this] { m_state.saveHistory(); }, [this](const QString& path) { OpenProjectPath(path); })
                    ->menuAction();
            break;
        case TItemKind::Command: {
            QAction* item = menu->addAction(QString());
            item->setShortcuts(shortcutsOf(row.Keys));
            item->setVisible(!row.Hidden);
            item->setCheckable(row.Checkable);
            if (row.Place == TMenuPlace::Popup) {
                item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
                tree->addAction(item);
            }
            connect(item, &QAction::triggered, this, [this, handler = row.Handler] { handler(*this); });
            m_items[i] = lastCommand = item;
            break;
        }
        }
        m_items[i]->setObjectName(QLatin1String(row.Name));
        m_items[i]->setText(designedCaption(row));
    }
    // Until the start-up sequence has made the first project, the window is as for a new one.
    TCommandState initial = commandState();
    initial.IsNewProject = true;
    applyCommandRules(initial);

    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this, tree](const QPoint& pos) { m_popup->popup(tree->viewport()->mapToGlobal(pos)); });
}

QAction* TMainF::action(const QString& name) const {
    return findChild<QAction*>(name);
}

QString TMainF::statusText() const {
    return m_status->text();
}

QString TMainF::tr_(const char* english) const {
    return m_state.Messages.Translate(QString::fromUtf8(english));
}

void TMainF::setExitFunction(std::function<void(int)> exitFunction) {
    m_exit = std::move(exitFunction);
}

void TMainF::setPause(IPause& pause) {
    m_pause = &pause;
}

void TMainF::setRecordsWindow(TRecordsF* recordsWindow) {
    m_recordsWindow = recordsWindow;
    if (!recordsWindow)
        return;
    recordsWindow->setReadRecordsFunction([this] { return readRecordsIntoRecordsWindow(); });
    recordsWindow->setDeviceOperationRunner([this](const auto& op) { return runDeviceOperation(op); });
    recordsWindow->setMainStatusFunction([this](const QString& text) { SetStatus(text); });
}

void TMainF::setRecordChooser(TReadRecordChooser chooser) {
    m_recordChooser = std::move(chooser);
}

void TMainF::setPrintPreview(TTiskF* preview) {
    m_printPreview = preview;
}

void TMainF::setPrinterSetup(TPrinterSetup setup) {
    m_printerSetup = std::move(setup);
}

TRecordsF* TMainF::recordsWindow() {
    if (!m_recordsWindow && m_makeRecordsWindow)
        setRecordsWindow(std::exchange(m_makeRecordsWindow, {})());
    return m_recordsWindow;
}

TFUnitSel& TMainF::unitDialog() {
    // Made once, on first use, and reused for every opening.
    if (!m_unitSel)
        m_unitSel = new TFUnitSel(m_state.Messages, this);
    return *m_unitSel;
}

TTiskF& TMainF::printPreview() {
    if (!m_printPreview && m_makePrintPreview)
        m_printPreview = std::exchange(m_makePrintPreview, {})();
    if (!m_printPreview)
        m_printPreview = new TTiskF(m_state.Messages, this);
    return *m_printPreview;
}

void TMainF::SetStatus(const QString& text) {
    m_status->setText(text);
}

void TMainF::dropStaleStatus() {
    const bool modified = m_state.Document.state().Modified;
    const bool becameModified = modified && !m_wasModified;
    m_wasModified = modified;
    if (!becameModified)
        return;
    // A text that says the project is safe somewhere is wrong after the first change that follows it.
    for (const char* safe : {"Project saved", "Project opened", "The project was successfully written",
                             "The project was successfully read"}) {
        if (statusText() == tr_(safe)) {
            SetStatus(QString());
            return;
        }
    }
}

TCommandState TMainF::commandState() const {
    const TDocumentState& s = m_state.Document.state();
    const TProject& project = m_state.Document.project();
    const QUndoStack& history = m_editor->undo().stack();
    TCommandState state;
    state.BranchCount = project.branchCount();
    state.CurrentBranch = m_editor->currentBranch();
    state.Locked = project.isLocked();
    state.Modified = s.Modified;
    state.HasFileName = s.HasFileName;
    state.IsNewProject = s.IsNewProject;
    state.MainCommandsOn = m_mainCommandsOn;
    state.DeviceBusy = m_state.LinkGuard.Busy || m_deviceRunning;
    state.CanUndo = history.canUndo();
    state.CanRedo = history.canRedo();
    return state;
}

void TMainF::applyCommandRules(const TCommandState& state) {
    const std::span<const TMainAction> rows = mainWindowActions();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Kind == TItemKind::Command)
            m_items[i]->setEnabled(IsCommandEnabled(rows[i].Rule, state));
    }
}

void TMainF::UpdateWindowState() {
    updateTitle();
    m_editor->SetInputsEnabled(!m_state.Document.project().isLocked());
    applyCommandRules(commandState());
    updateUndoTexts();
}

void TMainF::updateTitle() {
    const TDocumentState& s = m_state.Document.state();
    QString title = QLatin1String(ProductTitle) + QStringLiteral(" - ");
    if (s.IsNewProject)
        title += tr_("New project");
    else if (s.Modified)
        title += s.ProjectFileName + u'*';
    else
        title += s.ProjectFileName;
    setWindowTitle(title);
}

void TMainF::updateUndoTexts() {
    const TProjectUndo& undo = m_editor->undo();
    QAction* undoItem = action(QStringLiteral("mUndo"));
    QAction* redoItem = action(QStringLiteral("mRedo"));
    if (!undoItem || !redoItem)
        return;
    const QString undoText = undo.undoText(m_state.Messages);
    const QString redoText = undo.redoText(m_state.Messages);
    if (WithoutAccelerator(undoItem->text()) == undoText && WithoutAccelerator(redoItem->text()) == redoText)
        return;
    // The texts name the edit: the menu's accelerators are chosen again for them.
    undoItem->setText(undoText);
    redoItem->setText(redoText);
    if (auto* edit = findChild<QMenu*>(QStringLiteral("mEditMenu")))
        ApplyMenuAccelerators(edit);
}

void TMainF::EnableMainCommands(bool on) {
    m_mainCommandsOn = on;
    // Switching on brings the conditional items back as the window's state has them.
    applyCommandRules(commandState());
}

void TMainF::SetVerifyAfterWrite(bool on) {
    m_state.Settings.VerifyAfterWrite = on;
}

void TMainF::Undo() {
    m_editor->Undo();
}

void TMainF::Redo() {
    m_editor->Redo();
}

void TMainF::ApplyMainWindowTexts() {
    TMessageCatalogue& messages = m_state.Messages;
    m_state.DeviceConfig.InstrumentCodePage = static_cast<std::uint16_t>(
        InstrumentCodePageFor(messages.CurrentLanguage(), m_state.DeviceConfig.InstrumentCodePage));
    messages.LoadLanguage();
    m_qtTexts.Use(messages.LanguageLocale());
    // Qt's fonts cover every script, so the language's character set needs no font of its own.
    m_version->setText(versionText(messages));
    const TMainAction* const first = mainWindowActions().data();
    auto applyTexts = [&](auto rows) {
        for (const TMainAction* row : rows)
            m_items[static_cast<std::size_t>(row - first)]->setText(
                translatedText(messages, row->English, row->Variant));
    };
    const std::span<const TMainAction* const> inOrder = mainWindowActionsInTextOrder();
    const auto editorsTurn = std::find_if(inOrder.begin(), inOrder.end(), [](const TMainAction* row) {
        return row->TextOrder >= AfterEditorTexts;
    });
    applyTexts(std::span(inOrder.begin(), editorsTurn));
    m_editor->ApplyTexts();
    applyTexts(std::span(editorsTurn, inOrder.end()));
    m_balancing->applyTexts();
    m_comparison->applyTexts();
    ApplyMenuAccelerators(menuBar());
    ApplyMenuAccelerators(m_popup);
    // The texts that name the project and the edits, in the new language.
    updateTitle();
    updateUndoTexts();
    SetStatus(QString());
}

void TMainF::StartupSequence() {
    m_timerStart.stop();
    if (m_started)
        return;
    m_started = true;

    m_state.Settings = LoadSettings(m_state.SettingsPath);
    m_state.History = LoadFileHistory(m_state.SettingsPath);
    m_state.Units.FlowUnit = m_state.Settings.FlowUnit;
    m_state.Units.PressureUnit = m_state.Settings.PressureUnit;
    m_state.Messages.SetCurrentLanguage(m_state.Settings.CurrentLanguage);
    action(QStringLiteral("mVerifyAfterWrite"))->setChecked(m_state.Settings.VerifyAfterWrite);
    m_state.Messages.LoadLanguageList();
    ApplyMainWindowTexts();

    if (!LoadValveCache(m_state.CacheDir, *m_state.Catalogue)) {
        m_ui->showMessage(tr_("Reading Valves from device"), tr_("Connect device and press Ok"));
        TDeviceResult read = TDeviceResult::Failed;
        try {
            read = ReadValvesFromInstrument();
        } catch (...) {
            read = TDeviceResult::Failed;
        }
        // A catalogue that arrived whole serves even when its cache files could not be written.
        if (!LoadValveCache(m_state.CacheDir, *m_state.Catalogue) && read != TDeviceResult::Done) {
            m_ui->showMessage(tr_("Error reading valves"), tr_("Application will be terminated"));
            m_terminated = true;
            m_exit(-1);
            return;
        }
    }
    m_editor->FillManufacturerList();
    NewProject();
    m_editor->ResetPending();
    if (m_afterStartup)
        m_afterStartup();
}

TProjectCommandContext TMainF::commandContext() {
    return TProjectCommandContext{m_state.Document,
                                  *m_ui,
                                  m_state.Messages,
                                  m_state.codePage(),
                                  m_state.Units.Locale,
                                  [this] {
                                      // A cancelled write left the instrument incomplete: the command
                                      // that asked must not go on as if the project were safe there.
                                      const TDeviceResult r = SaveProjectToInstrument();
                                      return r != TDeviceResult::Failed && r != TDeviceResult::Cancelled;
                                  },
                                  [this](const QString& path) { m_state.remember(m_state.History.Projects, path); }};
}

bool TMainF::AskSaveChanges() {
    TProjectCommandContext context = commandContext();
    return ::AskSaveChanges(context);
}

void TMainF::ResetProject() {
    // A new project's names go into the table in force.
    m_state.Document.resetToNew(m_state.codePage());
}

void TMainF::NewProject() {
    if (!AskSaveChanges())
        return;
    // The editor builds the tree and shows the pages when the document announces the new project.
    ResetProject();
    m_editor->ActivateProjectPage();
    SetStatus(tr_("New project"));
}

void TMainF::OpenProject() {
    TProjectCommandContext context = commandContext();
    OpenProjectCommand(context);
}

void TMainF::OpenProjectPath(const QString& path) {
    TProjectCommandContext context = commandContext();
    OpenProjectPathCommand(context, path);
}

void TMainF::ImportWorkbook() {
    TProjectCommandContext context = commandContext();
    TWorkbookCommandContext workbook{context, m_state.Settings.SpreadsheetColumns, *m_state.Catalogue, {}};
    ImportWorkbookCommand(workbook);
}

void TMainF::ExportWorkbook() {
    TProjectCommandContext context = commandContext();
    TWorkbookCommandContext workbook{context, m_state.Settings.SpreadsheetColumns, *m_state.Catalogue, {}};
    // The export changes the flags only: the tree and pages keep the user's place.
    ExportWorkbookCommand(workbook);
}

void TMainF::SaveProject() {
    TProjectCommandContext context = commandContext();
    SaveProjectCommand(context);
}

void TMainF::SaveProjectAs() {
    TProjectCommandContext context = commandContext();
    SaveProjectAsCommand(context);
}

void TMainF::setDeviceRunning(bool running) {
    m_deviceRunning = running;
    if (running)
        m_focusBeforeDevice = QApplication::focusWidget();
    // The operation works on copies taken before it started: the document is read-only until it ends,
    // so that nothing the user does meanwhile is lost under its outcome. The commands follow the busy
    // rule; the pages, the tree and the records window take no input.
    centralWidget()->setEnabled(!running);
    if (m_recordsWindow) {
        m_recordsWindow->centralWidget()->setEnabled(!running);
        m_recordsWindow->menuBar()->setEnabled(!running);
    }
    emit deviceRunningChanged();
    // Switching the pages off took their focus away; the user goes on where they were.
    QWidget* focus = m_focusBeforeDevice;
    if (!running && focus && focus->isEnabled() && focus->isVisible())
        focus->setFocus();
}

TDeviceResult
TMainF::runDeviceOperation(const std::function<TDeviceResult(const TDeviceOperationContext&)>& op) {
    if (m_deviceRunning) {
        m_ui->setStatus(
            m_state.Messages.TranslateExclaim(QStringLiteral("Another device operation is running")));
        return TDeviceResult::Failed;
    }
    const std::unique_ptr<IUsbDriver> driver = LoadDriver(m_state.DriverPath);
    TDeviceWorker worker(m_state.LinkGuard, *driver, *m_pause, *m_ui, m_state.Messages);
    // Over whichever window is in front: the records window runs its reads through here too.
    QWidget* front = QApplication::activeModalWidget();
    TTransferProgressDialog progress(m_state.Messages, worker, front ? front : this);
    progress.setStopWriteQuestion([this] {
        return m_ui->askDefaultNo(tr_("Saving project"),
                                  tr_("Stop writing? The device will then hold an incomplete project.")) ==
               IUserInterface::Answer::Yes;
    });
    setDeviceRunning(true);
    const TDeviceResult result = worker.run(op);
    setDeviceRunning(false);
    return result;
}

void TMainF::ReadProjectFromInstrument() {
    // The read replaces the project in memory: unsaved changes are offered for saving first.
    if (!AskSaveChanges())
        return;
    std::unique_ptr<TProject> read;
    TDeviceConfig config = m_state.DeviceConfig;
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return ReadProjectFromDevice(c, config, read);
    });
    m_state.DeviceConfig = config;
    if (result == TDeviceResult::Cancelled)
        m_ui->setStatus(m_state.Messages.TranslateExclaim(QStringLiteral("The read was cancelled")));
    // An empty project gets the title too: otherwise the window would go on naming the file it replaced.
    // The editor rebuilds the tree and shows the pages when the document announces the project.
    if (result == TDeviceResult::Done)
        m_state.Document.replaceFromInstrument(*read, DeviceProjectTitle(*read));
}

TDeviceResult TMainF::SaveProjectToInstrument() {
    const bool verify = m_state.Settings.VerifyAfterWrite;
    // The worker sends this copy, whatever the window shows meanwhile.
    const auto project = std::make_unique<const TProject>(m_state.Document.project());
    TDeviceConfig config = m_state.DeviceConfig;
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return SaveProjectToDevice(c, *project, config, verify);
    });
    m_state.DeviceConfig = config;
    if (result == TDeviceResult::Done)
        m_state.Document.markWrittenToInstrument(DeviceProjectTitle(m_state.Document.project()));
    if (result == TDeviceResult::Cancelled) {
        // The project keeps its "*": the instrument does not hold it. The status says so before the
        // message, in place of the last progress text.
        m_ui->setStatus(m_state.Messages.TranslateExclaim(QStringLiteral("The write was cancelled")));
        m_ui->showMessage(tr_("Saving project"),
                          tr_("The write was cancelled. The device now holds an incomplete project. "
                              "Write the project again to repair it."));
    }
    return result;
}

void TMainF::TestConnection() {
    runDeviceOperation([](const TDeviceOperationContext& c) { return TestDeviceConnection(c); });
}

TDeviceResult TMainF::ReadValvesFromInstrument() {
    QString cacheError;
    // Read into a copy: the pages go on showing the catalogue in memory until the whole one arrived.
    auto catalogue = std::make_unique<TValveCatalogue>(*m_state.Catalogue);
    const QString cacheDir = m_state.CacheDir;
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return ReadValvesFromDevice(c, *catalogue, cacheDir, &cacheError);
    });
    if (result == TDeviceResult::Done) {
        *m_state.Catalogue = *catalogue;
        m_editor->FillManufacturerList();
    }
    if (result == TDeviceResult::Cancelled)
        m_ui->setStatus(m_state.Messages.TranslateExclaim(QStringLiteral("The read was cancelled")));
    if (!cacheError.isEmpty())
        m_ui->showMessage(tr_("Error"), cacheError);
    return result;
}

void TMainF::SetupPage() {
    TPrintMargins& margins = m_state.Settings.PrintMargins;
    QPrinter printer;
    printer.setPageMargins(QMarginsF(margins.Left, margins.Top, margins.Right, margins.Bottom),
                           QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Whole millimetres, cut toward zero from the dialog's hundredths.
    const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
    auto whole = [](qreal mm) { return static_cast<int32_t>(qRound64(mm * 100) / 100); };
    margins.Top = whole(chosen.top());
    margins.Bottom = whole(chosen.bottom());
    margins.Left = whole(chosen.left());
    margins.Right = whole(chosen.right());
}

void TMainF::SetupPrinter() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.exec();
}

void TMainF::CmProjektPrint() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup || !m_printerSetup(printer))
        return;
    // The report walks the valves of every branch; a selection of its own leaves the branch page's
    // valve, which the hints and checks still read, as the user left it.
    TValveSelection valve = m_state.Valve;
    const QStringList lines = BuildProjectReport(m_state.Document.project(), *m_state.Catalogue, valve,
                                                 m_state.codePage(), m_state.Units, m_state.Messages);
    PreviewAndPrint(printPreview(), lines, printer, m_state.Settings.PrintMargins, *m_ui, m_state.Messages);
}

void TMainF::PrintCommissioningCertificate() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup || !m_printerSetup(printer))
        return;
    const TCommissioningDetails& details = m_state.Document.commissioning();
    const TCommissioningCertificate certificate = BuildCommissioningCertificate(
        {m_state.Document.project(), *m_state.Catalogue, m_state.codePage(), details, m_state.Settings.Commissioning,
         CertificateTolerance(details, m_state.Settings.BalancingTolerance)},
        m_state.Units, m_state.Messages);
    PreviewAndPrintCertificate(printPreview(), certificate, printer, m_state.Settings.PrintMargins, *m_ui,
                               m_state.Messages);
}

void TMainF::ChooseUnits() {
    if (RunUnitsCommand(unitDialog(), m_state)) {
        m_editor->RefreshAfterUnits();
        m_balancing->refresh();
        m_comparison->refresh();
    }
}

void TMainF::ChooseLanguage() {
    if (!::ChooseLanguage(m_state, this))
        return;
    ApplyMainWindowTexts();
    // The names keep their table. A project not yet begun takes the new one, so that names typed
    // in the new language fit.
    const TProject& project = m_state.Document.project();
    const QUndoStack& history = m_editor->undo().stack();
    if (m_state.Document.state().IsNewProject && !history.canUndo() && !history.canRedo() &&
        project.branchCount() == 0 && project.Header.Name[0] == 0 &&
        project.NamesCodePage != m_state.codePage())
        m_state.Document.resetToNew(m_state.codePage());
    m_editor->RefreshAfterLanguage();
}

bool TMainF::storeSettings() {
    TSettings& settings = m_state.Settings;
    settings.FlowUnit = m_state.Units.FlowUnit;
    settings.PressureUnit = m_state.Units.PressureUnit;
    settings.CurrentLanguage = m_state.Messages.CurrentLanguage();
    QString error;
    if (SaveSettings(m_state.SettingsPath, settings, &error))
        return true;
    m_ui->showMessage(tr_("Error"), error);
    return false;
}

void TMainF::EditCommissioningDetails() {
    TCommissioningDialog dialog(m_state.Messages, *m_ui, m_state.Units, m_state.Settings.BalancingTolerance,
                                this);
    dialog.setValues(m_state.Document.commissioning(), m_state.Settings.Commissioning);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TCommissioningDetails details = dialog.details();
    if (details != m_state.Document.commissioning())
        m_editor->undo().push(new TChangeCommissioning(m_state.Document, details));
    const TCommissioningSettings user = dialog.user();
    if (user != m_state.Settings.Commissioning) {
        m_state.Settings.Commissioning = user;
        storeSettings();
        // The uncertain mark follows the minimum pressure, which no document change announces.
        balancing().refresh();
    }
}

void TMainF::OpenRecordFile() {
    if (!recordsWindow())
        return;
    if (m_recordsWindow->OpenRecordFile() != TRecordOpenResult::Cancelled)
        m_recordsWindow->showModally();
}

void TMainF::OpenRecordPath(const QString& path) {
    if (recordsWindow() && m_recordsWindow->OpenRecordPath(path) != TRecordOpenResult::Cancelled)
        m_recordsWindow->showModally();
}

bool TMainF::readRecordsIntoRecordsWindow() {
    // Read into a copy: the records window goes on showing the tables in memory until the read ends.
    auto store = std::make_unique<TRecordStore>(m_state.Records);
    // The list is a window: it opens on this thread while the worker waits for the choice, and lists
    // the records just read.
    const TRecordChooser chooser = [this, &read = *store](const QStringList& captions) {
        std::optional<int> chosen;
        if (m_recordChooser)
            RunOnThreadOf(*this, [&] { chosen = m_recordChooser(read, captions); });
        return chosen;
    };
    const int codePage = m_state.codePage();
    const TUnits units = m_state.Units;
    // Made before the read, so that it too takes no input while the read runs.
    recordsWindow();
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return ReadRecordsFromDevice(c, *store, codePage, units, m_state.Messages, chooser);
    });
    // Done or not, a read that reached its end rebuilt the tables. Copied element by element: the
    // tables keep their storage, as when the read rebuilt them in place.
    if (result == TDeviceResult::Done || result == TDeviceResult::NothingDone)
        m_state.Records = *store;
    if (result == TDeviceResult::Done && m_recordsWindow)
        m_recordsWindow->ShowCurrentRecord();
    if (result == TDeviceResult::Cancelled)
        m_ui->setStatus(m_state.Messages.TranslateExclaim(QStringLiteral("The read was cancelled")));
    if (m_recordsWindow)
        m_recordsWindow->setStatusText(statusText());
    return result == TDeviceResult::Done;
}

bool TMainF::ReadRecordsFromInstrument() {
    const bool chosen = readRecordsIntoRecordsWindow();
    if (chosen && m_recordsWindow)
        m_recordsWindow->showModally();
    return chosen;
}

void TMainF::closeEvent(QCloseEvent* event) {
    // Before the start-up sequence the settings were not read yet: saving them would put the
    // defaults over the user's choices.
    if (m_terminated || !m_started) {
        event->accept();
        return;
    }
    // A transfer in progress runs on its worker while the window goes on; closing now would pull the
    // link away from under it.
    if (m_state.LinkGuard.Busy || m_deviceRunning) {
        SetStatus(m_state.Messages.TranslateExclaim(QStringLiteral("Another device operation is running")));
        event->ignore();
        return;
    }
    storeSettings();

    TProjectCommandContext context = commandContext();
    const bool nothingLost = AskSaveChangesBeforeClose(context);
    if (!nothingLost) {
        event->ignore();
        return;
    }
    event->accept();
    // The other windows must not keep the program alive once the main window is gone.
    QCoreApplication::quit();
}
