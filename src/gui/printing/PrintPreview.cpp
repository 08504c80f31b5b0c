// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintPreview.h"

#include "model/Translator.h"
#include "printing/ReportText.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
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

    m_page = new QTextEdit(this);
    m_page->setObjectName(QStringLiteral("R_Page"));
    m_page->setReadOnly(true);
    m_page->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_page->hide();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_out, 1);
    layout->addWidget(m_page, 1);
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
    m_page->hide();
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

bool TTiskF::showPage(const QString& html) {
    m_lines.clear();
    m_out->hide();
    m_page->show();
    m_page->setHtml(html);
    m_page->moveCursor(QTextCursor::Start);
    m_page->setFocus();
    ApplyDialogTexts();
    return exec() == QDialog::Accepted;
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
