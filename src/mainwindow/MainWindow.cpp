#include "mainwindow/MainWindow.h"

#include "document/ProjectDocument.h"
#include "document/ProjectUndo.h"
#include "files/FileHistory.h"
#include "files/ProjectCommands.h"
#include "files/Settings.h"
#include "link/DriverLibrary.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "link/RecordTransfer.h"
#include "link/ValveTransfer.h"
#include "localisation/ApplyMenuAccelerators.h"
#include "localisation/MenuAccelerators.h"
#include "localisation/InstrumentCodePage.h"
#include "localisation/LanguageDialog.h"
#include "mainwindow/ApplicationState.h"
#include "mainwindow/InputLock.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/MainWindowLogo.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/UnitDialog.h"
#include "model/ValveCache.h"
#include "printing/PreviewAndPrint.h"
#include "printing/PrintPreview.h"
#include "printing/ProjectReport.h"
#include "records/RecordsWindow.h"
#include "spreadsheet/WorkbookCommands.h"
#include "ui/FolderMemoryUserInterface.h"
#include "ui/QtUserInterface.h"
#include "ui/RecentFilesMenu.h"
#include "ui/StatusLine.h"

#include <QCloseEvent>
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
#include <QTreeWidget>
#include <QVBoxLayout>

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
    // Created once, after the main window, and reused for every opening.
    m_unitSel = new TFUnitSel(m_state.Messages, this);
    buildFrame();
    buildMenus();
    // The title, the Save item and the undo items follow the document and its history.
    connect(&m_state.Document, &TProjectDocument::stateChanged, this, &TMainF::UpdateWindowState);
    connect(&m_editor->undo().stack(), &QUndoStack::indexChanged, this, &TMainF::UpdateWindowState);
    AddRecentFilesMenu(*findChild<QMenu*>(QStringLiteral("mFileMenu")), action(QStringLiteral("mSave")),
                       "mRecentProjects", m_state.History.Projects, action(QStringLiteral("mOpenPrj")), *m_ui,
                       m_state.Messages, [this] { m_state.saveHistory(); },
                       [this](const QString& path) { OpenProjectPath(path); });

    resize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height() + StatusLineHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_timerStart.setSingleShot(true);
    m_timerStart.setInterval(100);
    connect(&m_timerStart, &QTimer::timeout, this, &TMainF::StartupSequence);
    m_timerStart.start();
}

void TMainF::buildFrame() {
    auto* left = new QWidget;
    left->setObjectName(QStringLiteral("leftPane"));
    left->setMinimumWidth(LeftPaneWidth);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);

    QTreeWidget* tree = m_editor->tree();
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

QAction* TMainF::addItem(QMenu* menu, const char* name, const char* designedCaption) {
    QAction* item = menu->addAction(QString::fromUtf8(designedCaption));
    item->setObjectName(QLatin1String(name));
    return item;
}

void TMainF::buildMenus() {
    auto topMenu = [this](const char* name, const char* caption) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    auto separatorCaption = [this](QMenu* menu, const char* name, const char* caption) {
        addItem(menu, name, caption)->setEnabled(false);
    };

    QMenu* file = topMenu("mFile", "File");
    separatorCaption(file, "mPCProjects", "----- K9Q4 Projects -----");
    QAction* item = addItem(file, "mNewPrj", "New");
    item->setShortcut(QKeySequence::New);
    connect(item, &QAction::triggered, this, &TMainF::NewProject);
    item = addItem(file, "mOpenPrj", "Open...");
    item->setShortcut(QKeySequence::Open);
    connect(item, &QAction::triggered, this, &TMainF::OpenProject);
    item = addItem(file, "mSave", "Save");
    item->setShortcut(QKeySequence::Save);
    item->setEnabled(false);
    connect(item, &QAction::triggered, this, &TMainF::SaveProject);
    item = addItem(file, "mSaveAsPrj", "Save as...");
    connect(item, &QAction::triggered, this, &TMainF::SaveProjectAs);
    item = addItem(file, "mImportXLS", "Import from Nortavex engineer...");
    connect(item, &QAction::triggered, this, &TMainF::ImportWorkbook);
    item = addItem(file, "mExportXLS2", "Export to Nortavex engineer...");
    connect(item, &QAction::triggered, this, &TMainF::ExportWorkbook);
    separatorCaption(file, "mProjects", "-------- Projects --------");
    item = addItem(file, "mOpenPrjFromDevice", "Open project from device...");
    connect(item, &QAction::triggered, this, &TMainF::ReadProjectFromInstrument);
    item = addItem(file, "mSaveProjectToDevice", "Save project to device...");
    item->setEnabled(false);
    connect(item, &QAction::triggered, this, [this] { SaveProjectToInstrument(); });
    separatorCaption(file, "mRecords", "-------- Records --------");
    item = addItem(file, "mOpenRec", "Open record...");
    connect(item, &QAction::triggered, this, &TMainF::OpenRecordFile);
    item = addItem(file, "mOpenRecordFromDevice", "Open record from device...");
    connect(item, &QAction::triggered, this, [this] { ReadRecordsFromInstrument(); });
    file->addSeparator();
    item = addItem(file, "mExit", "Exit");
    item->setShortcut(QKeySequence::Quit);
    connect(item, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = topMenu("mEdit", "Edit");
    connect(addItem(edit, "mAddBranch", "Add branch"), &QAction::triggered, m_editor,
            &TProjectEditor::AddBranch);
    connect(addItem(edit, "mDeleteBranch", "Delete branch..."), &QAction::triggered, m_editor,
            &TProjectEditor::DeleteBranch);
    connect(addItem(edit, "mMoveBranchUp", "Move branch up"), &QAction::triggered, m_editor,
            &TProjectEditor::MoveBranchUp);
    connect(addItem(edit, "mMoveBranchDown", "Move branch down"), &QAction::triggered, m_editor,
            &TProjectEditor::MoveBranchDown);
    item = addItem(edit, "mUndo", "Undo");
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(item, &QAction::triggered, m_editor, &TProjectEditor::Undo);
    item = addItem(edit, "mRedo", "Redo");
    item->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(item, &QAction::triggered, m_editor, &TProjectEditor::Redo);

    QMenu* print = topMenu("mPrint2", "Print");
    item = addItem(print, "mSetupPrinter", "Setup printer...");
    item->setVisible(false);
    connect(item, &QAction::triggered, this, &TMainF::SetupPrinter);
    item = addItem(print, "mSetupPage", "Setup page...");
    item->setVisible(false);
    connect(item, &QAction::triggered, this, &TMainF::SetupPage);
    item = addItem(print, "mPrint", "Print...");
    connect(item, &QAction::triggered, this, &TMainF::CmProjektPrint);

    QMenu* options = topMenu("mOptions", "Options");
    connect(addItem(options, "mUnits", "Flow and pressure units..."), &QAction::triggered, this,
            &TMainF::ChooseUnits);
    connect(addItem(options, "mLanguage", "Language..."), &QAction::triggered, this, &TMainF::ChooseLanguage);
    m_balancing = new TBalancingCommands(
        {m_state, *m_ui, *this, *m_editor->tree(), [this] { return m_printerSetup; },
         [this]() -> TTiskF& { return printPreview(); }},
        this);
    options->addAction(m_balancing->summaryAction());
    print->addAction(m_balancing->reportAction());

    // The tree's pop-up menu; its shortcuts work while the tree has the focus.
    QTreeWidget* tree = m_editor->tree();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    auto popupItem = [&](const char* name, const char* caption, QKeySequence key,
                         void (TProjectEditor::*slot)()) {
        QAction* a = addItem(m_popup, name, caption);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tree->addAction(a);
        connect(a, &QAction::triggered, m_editor, slot);
    };
    popupItem("mAddBranch2", "Add branch", QKeySequence(Qt::CTRL | Qt::Key_A), &TProjectEditor::AddBranch);
    popupItem("mDeleteBranch2", "Delete branch...", QKeySequence(), &TProjectEditor::DeleteBranch);
    popupItem("mMoveBranchUp2", "Move branch up", QKeySequence(Qt::CTRL | Qt::Key_U),
              &TProjectEditor::MoveBranchUp);
    popupItem("mMoveBranchDown2", "Move branch down", QKeySequence(Qt::CTRL | Qt::Key_D),
              &TProjectEditor::MoveBranchDown);
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
    recordsWindow->setMainStatusFunction([this](const QString& text) { SetStatus(text); });
}

void TMainF::setRecordChooser(TRecordChooser chooser) {
    m_recordChooser = std::move(chooser);
}

void TMainF::setPrintPreview(TTiskF* preview) {
    m_printPreview = preview;
}

void TMainF::setPrinterSetup(TPrinterSetup setup) {
    m_printerSetup = std::move(setup);
}

TTiskF& TMainF::printPreview() {
    if (!m_printPreview)
        m_printPreview = new TTiskF(m_state.Messages, this);
    return *m_printPreview;
}

void TMainF::SetStatus(const QString& text) {
    m_status->setText(text);
}

void TMainF::UpdateWindowState() {
    const TDocumentState& s = m_state.Document.state();
    const TProject& project = m_state.Document.project();
    const int count = project.branchCount();
    const bool locked = project.isLocked();
    const int current = m_editor->currentBranch();
    const bool selected = current >= 0 && current < count;
    const bool on = m_mainCommandsOn;

    auto enable = [this](const char* name, bool enabled) {
        if (QAction* a = action(QLatin1String(name)))
            a->setEnabled(enabled);
    };
    enable("mSave", on && s.Modified && s.HasFileName);

    const bool down = selected && current + 1 < count && !locked;
    const bool up = selected && current > 0 && !locked;
    const bool del = selected && !locked;
    enable("mMoveBranchDown", on && down);
    enable("mMoveBranchDown2", down);
    enable("mMoveBranchUp", on && up);
    enable("mMoveBranchUp2", up);
    enable("mDeleteBranch", on && del);
    enable("mDeleteBranch2", del);

    QString title = QLatin1String(ProductTitle) + QStringLiteral(" - ");
    if (s.IsNewProject)
        title += tr_("New project");
    else if (s.Modified)
        title += s.ProjectFileName + u'*';
    else
        title += s.ProjectFileName;
    setWindowTitle(title);

    enable("mNewPrj", on);
    enable("mSaveProjectToDevice", !s.IsNewProject);
    enable("mExportXLS2", !s.IsNewProject);

    m_editor->SetInputsEnabled(!locked);
    enable("mAddBranch", on && !locked);
    enable("mAddBranch2", !locked);

    updateUndoItems(on);
}

void TMainF::updateUndoItems(bool on) {
    const TProjectUndo& undo = m_editor->undo();
    QAction* undoItem = action(QStringLiteral("mUndo"));
    QAction* redoItem = action(QStringLiteral("mRedo"));
    if (!undoItem || !redoItem)
        return;
    undoItem->setEnabled(on && undo.stack().canUndo());
    redoItem->setEnabled(on && undo.stack().canRedo());
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
    for (const char* name : {"mNewPrj", "mOpenPrj", "mSave", "mSaveAsPrj", "mOpenRec", "mExit", "mAddBranch",
                             "mDeleteBranch", "mMoveBranchUp", "mMoveBranchDown", "mUndo", "mRedo", "mSetupPrinter",
                             "mSetupPage", "mPrint", "mUnits", "mLanguage"}) {
        if (QAction* a = action(QLatin1String(name)))
            a->setEnabled(on);
    }
    if (on)
        UpdateWindowState();
}

void TMainF::ApplyMainWindowTexts() {
    TMessageCatalogue& messages = m_state.Messages;
    m_state.DeviceConfig.InstrumentCodePage = static_cast<std::uint16_t>(
        InstrumentCodePageFor(messages.CurrentLanguage(), m_state.DeviceConfig.InstrumentCodePage));
    messages.LoadLanguage();
    m_qtTexts.Use(messages.LanguageLocale());
    // Qt's fonts cover every script, so the language's character set needs no font of its own.
    m_version->setText(versionText(messages));
    for (const TWindowText& text : mainWindowMenuTexts()) {
        if (QAction* a = action(QLatin1String(text.Control)))
            a->setText(translatedText(messages, text));
    }
    m_editor->ApplyTexts();
    m_balancing->applyTexts();
    for (const TWindowText& text : mainWindowLateTexts()) {
        if (QAction* a = action(QLatin1String(text.Control)))
            a->setText(translatedText(messages, text));
    }
    ApplyMenuAccelerators(menuBar());
    ApplyMenuAccelerators(m_popup);
    UpdateWindowState();
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
                                  [this] { return SaveProjectToInstrument() != TDeviceResult::Failed; },
                                  [this](const QString& path) { m_state.remember(m_state.History.Projects, path); }};
}

bool TMainF::AskSaveChanges() {
    TProjectCommandContext context = commandContext();
    const bool goOn = ::AskSaveChanges(context);
    UpdateWindowState();
    return goOn;
}

void TMainF::ResetProject() {
    m_state.Document.resetToNew();
}

void TMainF::NewProject() {
    if (!AskSaveChanges())
        return;
    // The editor builds the tree and shows the pages when the document announces the new project.
    ResetProject();
    UpdateWindowState();
    m_editor->ActivateProjectPage();
    SetStatus(tr_("New project"));
}

void TMainF::OpenProject() {
    TProjectCommandContext context = commandContext();
    OpenProjectCommand(context);
    UpdateWindowState();
}

void TMainF::OpenProjectPath(const QString& path) {
    TProjectCommandContext context = commandContext();
    OpenProjectPathCommand(context, path);
    UpdateWindowState();
}

void TMainF::ImportWorkbook() {
    TProjectCommandContext context = commandContext();
    TWorkbookCommandContext workbook{context, m_state.Settings.SpreadsheetColumns, *m_state.Catalogue, {}};
    ImportWorkbookCommand(workbook);
    UpdateWindowState();
}

void TMainF::ExportWorkbook() {
    TProjectCommandContext context = commandContext();
    TWorkbookCommandContext workbook{context, m_state.Settings.SpreadsheetColumns, *m_state.Catalogue, {}};
    // The export changes the flags only: the tree and pages keep the user's place.
    ExportWorkbookCommand(workbook);
    UpdateWindowState();
}

void TMainF::SaveProject() {
    TProjectCommandContext context = commandContext();
    SaveProjectCommand(context);
    UpdateWindowState();
}

void TMainF::SaveProjectAs() {
    TProjectCommandContext context = commandContext();
    SaveProjectAsCommand(context);
    UpdateWindowState();
}

TDeviceResult
TMainF::runDeviceOperation(const std::function<TDeviceResult(const TDeviceOperationContext&)>& op) {
    // The window processes events between blocks: an edit or another command then would change the
    // project half-way through the transfer.
    TDeviceResult result = TDeviceResult::Failed;
    {
        const TInputLock lock({centralWidget(), menuBar(), m_recordsWindow}, {this, m_recordsWindow});
        const std::unique_ptr<IUsbDriver> driver = LoadDriver(m_state.DriverPath);
        const TDeviceOperationContext context{m_state.LinkGuard, *driver, *m_pause, *m_ui, m_state.Messages};
        result = op(context);
    }
    UpdateWindowState();
    return result;
}

namespace {

// The transfers still fill the project in place and set the flags of a TMainState; this hands what
// they did to the document, which announces it to the windows. The transfer calls UpdateWindowState
// last: after a read only when it succeeded, after a write whatever the outcome.
TProjectViewHooks viewHooks(TApplicationState& state, bool replacesProject) {
    TMainState& flags = state.Main;
    // Only a successful write clears Modified.
    flags.Modified = true;
    TProjectDocument& document = state.Document;
    return TProjectViewHooks{{}, {}, {}, [&flags, &document, replacesProject] {
                                 if (replacesProject)
                                     document.replaceFromInstrument(document.project(), flags.ProjectFileName);
                                 else if (!flags.Modified)
                                     document.markWrittenToInstrument(flags.ProjectFileName);
                             }};
}

} // namespace

void TMainF::ReadProjectFromInstrument() {
    // The read replaces the project in memory: unsaved changes are offered for saving first.
    if (!AskSaveChanges())
        return;
    runDeviceOperation([this](const TDeviceOperationContext& c) {
        return ReadProjectFromDevice(c, *m_state.Project, m_state.Main, m_state.DeviceConfig,
                                     viewHooks(m_state, true));
    });
    UpdateWindowState();
}

TDeviceResult TMainF::SaveProjectToInstrument() {
    const TDeviceResult result = runDeviceOperation([this](const TDeviceOperationContext& c) {
        return SaveProjectToDevice(c, *m_state.Project, m_state.Main, m_state.DeviceConfig,
                                   viewHooks(m_state, false));
    });
    UpdateWindowState();
    return result;
}

void TMainF::TestConnection() {
    runDeviceOperation([](const TDeviceOperationContext& c) { return TestDeviceConnection(c); });
}

TDeviceResult TMainF::ReadValvesFromInstrument() {
    QString cacheError;
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return ReadValvesFromDevice(c, *m_state.Catalogue, m_state.CacheDir, &cacheError,
                                    [this] { m_editor->FillManufacturerList(); });
    });
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
    const QStringList lines = BuildProjectReport(*m_state.Project, *m_state.Catalogue, valve,
                                                 m_state.codePage(), m_state.Units, m_state.Messages);
    PreviewAndPrint(printPreview(), lines, printer, m_state.Settings.PrintMargins, *m_ui, m_state.Messages);
}

void TMainF::ChooseUnits() {
    if (RunUnitsCommand(*m_unitSel, m_state))
        m_editor->RefreshAfterUnits();
}

void TMainF::ChooseLanguage() {
    if (!::ChooseLanguage(m_state, this))
        return;
    ApplyMainWindowTexts();
    m_editor->RefreshAfterLanguage();
}

void TMainF::OpenRecordFile() {
    if (!m_recordsWindow)
        return;
    if (m_recordsWindow->OpenRecordFile() != TRecordOpenResult::Cancelled)
        m_recordsWindow->showModally();
}

void TMainF::OpenRecordPath(const QString& path) {
    if (m_recordsWindow && m_recordsWindow->OpenRecordPath(path) != TRecordOpenResult::Cancelled)
        m_recordsWindow->showModally();
}

bool TMainF::readRecordsIntoRecordsWindow() {
    const TRecordChooser chooser =
        m_recordChooser ? m_recordChooser : [](const QStringList&) { return std::optional<int>(); };
    std::function<void()> showCurrentRecord;
    if (m_recordsWindow)
        showCurrentRecord = [this] { m_recordsWindow->ShowCurrentRecord(); };
    const TDeviceResult result = runDeviceOperation([&](const TDeviceOperationContext& c) {
        return ReadRecordsFromDevice(c, m_state.Records, m_state.codePage(), m_state.Units, chooser,
                                     showCurrentRecord);
    });
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
    // A transfer in progress lets the window process events; closing now would pull the project away
    // from under it.
    if (m_state.LinkGuard.Busy) {
        SetStatus(m_state.Messages.TranslateExclaim(QStringLiteral("Another device operation is running")));
        event->ignore();
        return;
    }
    TSettings& settings = m_state.Settings;
    settings.FlowUnit = m_state.Units.FlowUnit;
    settings.PressureUnit = m_state.Units.PressureUnit;
    settings.CurrentLanguage = m_state.Messages.CurrentLanguage();
    QString error;
    if (!SaveSettings(m_state.SettingsPath, settings, &error))
        m_ui->showMessage(tr_("Error"), error);

    TProjectCommandContext context = commandContext();
    const bool nothingLost = AskSaveChangesBeforeClose(context);
    UpdateWindowState();
    if (!nothingLost) {
        event->ignore();
        return;
    }
    event->accept();
    // The other windows must not keep the program alive once the main window is gone.
    QCoreApplication::quit();
}
