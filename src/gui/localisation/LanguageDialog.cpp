// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/LanguageDialog.h"

#include "localisation/MessageCatalogue.h"
#include "commands/ApplicationState.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The designed outer size includes a dialog frame of 4 pixels a side and a 22-pixel caption; Qt
// sizes the client area, so the frame is taken off here.
constexpr int OuterWidth = 200;
constexpr int FrameWidth = 2 * 4;
constexpr int FrameHeight = 22 + 2 * 4;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

QFont dialogFont() {
    // Fonts here cover every script, so a language's character set needs no font of its own.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    return font;
}

} // namespace

TLanguageDialog::TLanguageDialog(const TMessageCatalogue& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("LanguageDialog"));
    setWindowTitle(QStringLiteral("Language"));
    setFont(dialogFont());

    const TLanguageList& languages = messages.Languages();
    const int count = languages.count();
    const int shownRows = std::min(count, VisibleRows);

    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(8, 8, 0, 0);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(0, 20);
    grid->setColumnStretch(1, 1);
    m_group = new QButtonGroup(this);
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(rows);
        button->setFixedSize(20, RowHeight);
        button->setAccessibleName(languages.at(i).name);
        auto* name = new QLabel(languages.at(i).name, rows);
        name->setFixedHeight(RowHeight);
        name->setBuddy(button);
        // A click on the name chooses the language, as users expect of a radio row.
        name->installEventFilter(this);
        name->setProperty("languageRow", i);
        m_group->addButton(button, i);
        grid->addWidget(button, i, 0);
        grid->addWidget(name, i, 1);
        m_rows.append(button);
    }
    grid->setRowStretch(count, 1);
    if (messages.CurrentLanguage() >= 0 && messages.CurrentLanguage() < count)
        m_rows.at(messages.CurrentLanguage())->setChecked(true);

    m_rowArea = new QScrollArea(this);
    m_rowArea->setFrameShape(QFrame::NoFrame);
    m_rowArea->setWidgetResizable(true);
    m_rowArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowArea->setWidget(rows);
    m_rowArea->setFixedHeight(8 + RowHeight * shownRows);

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {m_ok, m_cancel})
        button->setFixedSize(ButtonWidth, ButtonHeight);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 0, 0);
    buttons->setSpacing(16 - 8);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    const int clientHeight = RowHeight * shownRows + 90 - FrameHeight;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, clientHeight - (RowHeight * shownRows + 20 + ButtonHeight));
    layout->setSpacing(20 - 8);
    layout->addWidget(m_rowArea);
    layout->addLayout(buttons);
    setFixedSize(OuterWidth - FrameWidth, clientHeight);

    if (QRadioButton* checked = qobject_cast<QRadioButton*>(m_group->checkedButton()))
        checked->setFocus();
    else if (!m_rows.isEmpty())
        m_rows.first()->setFocus();
}

int TLanguageDialog::checkedLanguage() const {
    return m_group->checkedId();
}

bool TLanguageDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        bool ok = false;
        const int row = watched->property("languageRow").toInt(&ok);
        if (ok && row >= 0 && row < rowCount()) {
            m_rows.at(row)->setChecked(true);
            m_rows.at(row)->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TLanguageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The current language may lie below the rows shown at first.
    if (QAbstractButton* checked = m_group->checkedButton())
        m_rowArea->ensureWidgetVisible(checked);
}

bool TakeLanguageChoice(const TLanguageDialog& dialog, TApplicationState& state) {
    const int language = dialog.checkedLanguage();
    // With nothing checked there is nothing to take: the language stays as it was.
    if (dialog.result() != QDialog::Accepted || language < 0)
        return false;
    state.Messages.SetCurrentLanguage(language);
    state.Settings.CurrentLanguage = language;
    return true;
}

bool ChooseLanguage(TApplicationState& state, QWidget* parent) {
    TLanguageDialog dialog(state.Messages, parent);
    dialog.exec();
    return TakeLanguageChoice(dialog, state);
}
