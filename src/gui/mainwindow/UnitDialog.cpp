// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/UnitDialog.h"

#include "localisation/MessageCatalogue.h"
#include "commands/ApplicationState.h"
#include "model/Units.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 312;
constexpr int ClientHeight = 149;
constexpr int ListWidth = 145;
constexpr int ListHeight = 23;
constexpr int CaptionHeight = 15;

// The toolkit's own OK caption, in the toolkit's language.
QString standardOkText() {
    QDialogButtonBox box(QDialogButtonBox::Ok);
    return box.button(QDialogButtonBox::Ok)->text();
}

QPushButton* fixedButton(const QString& text, int width, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFixedSize(width, 28);
    return button;
}

} // namespace

TFUnitSel::TFUnitSel(const TMessageCatalogue& messages, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_messages(messages) {
    setObjectName(QStringLiteral("FUnitSel"));
    setWindowTitle(QStringLiteral("Unit selection"));
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    font.setBold(true);
    setFont(font);

    m_flowCaption = new QLabel(QStringLiteral("Flow"), this);
    m_pressureCaption = new QLabel(QStringLiteral("Pressure"), this);
    m_flowList = new QComboBox(this);
    m_pressureList = new QComboBox(this);
    for (int32_t unit = 0; unit < FlowUnitCount; ++unit)
        m_flowList->addItem(FlowUnitListName(unit));
    for (int32_t unit = 0; unit < PressureUnitCount; ++unit)
        m_pressureList->addItem(PressureUnitName(unit));
    for (QComboBox* list : {m_flowList, m_pressureList}) {
        list->setFixedSize(ListWidth, ListHeight);
        // Many units: show them all without scrolling.
        list->setMaxVisibleItems(PressureUnitCount);
    }
    m_flowCaption->setBuddy(m_flowList);
    m_pressureCaption->setBuddy(m_pressureList);
    for (QLabel* caption : {m_flowCaption, m_pressureCaption})
        caption->setFixedHeight(CaptionHeight);

    m_cancel = fixedButton(QStringLiteral("Cancel"), 95, this);
    m_ok = fixedButton(standardOkText(), 97, this);
    m_ok->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_flowList, &QComboBox::currentIndexChanged, this, &TFUnitSel::CmChangeFlowUnit);
    connect(m_pressureList, &QComboBox::currentIndexChanged, this, &TFUnitSel::CmChangePressUnit);

    // Margins and spacings put the controls at their designed places in the fixed client area.
    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(ClientWidth - 2 * 8 - 2 * ListWidth);
    lists->setVerticalSpacing(29 - 8 - CaptionHeight);
    lists->addWidget(m_flowCaption, 0, 0);
    lists->addWidget(m_pressureCaption, 0, 1);
    lists->addWidget(m_flowList, 1, 0);
    lists->addWidget(m_pressureList, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(207 - 101 - 95);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, ClientHeight - 112 - 28);
    layout->setSpacing(0);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(ClientWidth, ClientHeight);

    setTabOrder(m_flowList, m_pressureList);
    setTabOrder(m_pressureList, m_cancel);
    setTabOrder(m_cancel, m_ok);
}

void TFUnitSel::SetWorkingUnits(int32_t flowUnit, int32_t pressureUnit) {
    m_flowUnit = flowUnit;
    m_pressureUnit = pressureUnit;
}

void TFUnitSel::ApplyDialogTexts() {
    // Fonts cover every script here, so the language's character set needs no font change.
    setWindowTitle(m_messages.Translate(QStringLiteral("Unit selection")));
    m_pressureCaption->setText(m_messages.Translate(QStringLiteral("Pressure")));
    m_flowCaption->setText(m_messages.Translate(QStringLiteral("Flow")));
    m_cancel->setText(m_messages.Translate(QStringLiteral("Cancel")));
    // Qt's own OK, in the language Qt's texts were last switched to.
    m_ok->setText(standardOkText());
}

bool TFUnitSel::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        ApplyDialogTexts();
    return QDialog::event(event);
}

void TFUnitSel::showEvent(QShowEvent* event) {
    CmShow();
    // Also here, so that the dialog never appears in the previous language where the window
    // manager does not activate it.
    ApplyDialogTexts();
    QDialog::showEvent(event);
    m_flowList->setFocus();
}

void TFUnitSel::CmShow() {
    // A unit outside a list (from an edited settings file) selects nothing and stays as it was
    // unless the user picks one.
    const int32_t flowUnit = m_flowUnit;
    const int32_t pressureUnit = m_pressureUnit;
    m_flowList->setCurrentIndex(flowUnit >= 0 && flowUnit < FlowUnitCount ? flowUnit : -1);
    m_pressureList->setCurrentIndex(pressureUnit >= 0 && pressureUnit < PressureUnitCount ? pressureUnit
                                                                                          : -1);
    m_flowUnit = flowUnit;
    m_pressureUnit = pressureUnit;
}

void TFUnitSel::CmChangeFlowUnit(int index) {
    if (index >= 0)
        m_flowUnit = index;
}

void TFUnitSel::CmChangePressUnit(int index) {
    if (index >= 0)
        m_pressureUnit = index;
}

bool RunUnitsCommand(TFUnitSel& dialog, TApplicationState& state) {
    dialog.SetWorkingUnits(state.Units.FlowUnit, state.Units.PressureUnit);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    state.Units.FlowUnit = dialog.WorkingFlowUnit();
    state.Units.PressureUnit = dialog.WorkingPressureUnit();
    state.Settings.FlowUnit = state.Units.FlowUnit;
    state.Settings.PressureUnit = state.Units.PressureUnit;
    return true;
}
