// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintPreview.h"

#include "model/Translator.h"
#include "printing/ReportText.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr QSize ClientSize(577, 633);
constexpr int ToolBarHeight = 30;
constexpr QSize ButtonSize(120, 24);
const QColor ToolBarColour(125, 179, 113);

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

// The report's columns are made of blanks, so every character must be as wide as every other. A
// family known to be monospaced in bold too comes first, the system's fixed font after it, so that
// no name can fall back to a proportional font.
QFont reportFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"), font.family()});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(10);
    font.setBold(true);
    return font;
}

QPushButton* toolButton(const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(ButtonSize);
    return button;
}

} // namespace

TTiskF::TTiskF(const ITranslator& translator, QWidget* parent) : QDialog(parent), m_translator(translator) {
    setObjectName(QStringLiteral("TiskF"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setFont(windowFont());

    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setFixedHeight(ToolBarHeight);
    toolBar->setAttribute(Qt::WA_StyledBackground);
    toolBar->setStyleSheet(QStringLiteral("#ToolBar1 { background-color: rgb(%1,%2,%3); }")
                               .arg(ToolBarColour.red())
                               .arg(ToolBarColour.green())
                               .arg(ToolBarColour.blue()));
    m_cancel = toolButton("Cancel", "Cancel", toolBar);
    m_print = toolButton("Print", "Print", toolBar);
    // Enter prints wherever the focus is; Escape cancels through the dialog itself.
    m_cancel->setAutoDefault(false);
    m_print->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_print, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout(toolBar);
    buttons->setContentsMargins(3, 3, 3, 3);
    buttons->setSpacing(3);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_print);
    buttons->addStretch(1);

    m_out = new QPlainTextEdit(this);
    m_out->setObjectName(QStringLiteral("R_Out"));
    m_out->setFont(reportFont());
    m_out->setReadOnly(true);
    m_out->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_out->setWordWrapMode(QTextOption::NoWrap);
    m_out->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_out->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The read-only text keeps a cursor, so the keys still move through the report.
    m_out->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_out, 1);
    layout->addWidget(m_statusBar);

    resize(ClientSize);
    CmCreate();
}

void TTiskF::CmCreate() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

bool TTiskF::showReport(const QStringList& lines) {
    m_lines = lines;
    QStringList shown = lines;
    for (QString& line : shown)
        if (IsPageBreakLine(line))
            line.clear();
    dropPages();
    m_out->show();
    m_out->setReadOnly(false);
    m_out->setPlainText(shown.join(u'\n'));
    m_out->setReadOnly(true);
    m_out->moveCursor(QTextCursor::Start);
    m_out->ensureCursorVisible();
    m_out->setFocus();
    ApplyDialogTexts();
    return exec() == QDialog::Accepted;
}

bool TTiskF::showPages(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    m_lines.clear();
    dropPages();
    m_out->hide();
    // Drawn by the very code that prints, on the printer the user chose: what is shown is what
    // comes out.
    m_pages = new QPrintPreviewWidget(&printer, this);
    m_pages->setObjectName(QStringLiteral("R_Pages"));
    connect(m_pages, &QPrintPreviewWidget::paintRequested, this, [paint](QPrinter* target) { paint(*target); });
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, m_pages, 1);
    m_pages->fitToWidth();
    m_pages->updatePreview();
    // A page across is worth more room than the text's narrow column.
    const QSize wanted(1000, 760);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 0.9 : wanted;
    const QSize before = size();
    resize(wanted.boundedTo(room).expandedTo(before));
    CmCreate();
    m_pages->setFocus();
    ApplyDialogTexts();
    const bool print = exec() == QDialog::Accepted;
    // The pages hold on to the caller's printer: they go with the answer.
    dropPages();
    m_out->show();
    resize(before);
    CmCreate();
    return print;
}

int TTiskF::shownPageCount() const {
    return m_pages ? m_pages->pageCount() : 0;
}

void TTiskF::dropPages() {
    if (!m_pages)
        return;
    delete m_pages;
    m_pages = nullptr;
}

QStringList TTiskF::reportLines() const {
    return m_lines;
}

void TTiskF::ApplyDialogTexts() {
    // Qt's fonts cover every script, so the language's character set needs no font of its own.
    setWindowTitle(m_translator.Translate(QStringLiteral("Print preview")));
    m_cancel->setText(m_translator.Translate(QStringLiteral("Cancel")));
    m_print->setText(m_translator.Translate(QStringLiteral("Print")));
}

bool TTiskF::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        ApplyDialogTexts();
    return QDialog::event(event);
}
