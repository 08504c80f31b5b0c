// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BranchPage.h"

#include "mainwindow/ProjectPage.h"
#include "model/ProjectRecords.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

void TValueRow::setVisible(bool visible) const {
    Caption->setVisible(visible);
    Edit->setVisible(visible);
    Hint->setVisible(visible);
}

namespace {

QLabel* makeCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFixedWidth(210);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* makeHint(QWidget* parent) {
    auto* hint = new QLabel(parent);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    font.setBold(false);
    hint->setFont(font);
    QPalette p = hint->palette();
    p.setColor(QPalette::WindowText, Qt::gray);
    hint->setPalette(p);
    // Caption 4..214, input 220..320: the hint starts at 330.
    hint->setContentsMargins(4, 0, 0, 0);
    return hint;
}

TValueRow makeRow(QWidget* parent) {
    TValueRow row;
    row.Caption = makeCaption(QString(), parent);
    row.Edit = new QLineEdit(parent);
    row.Edit->setFixedWidth(100);
    row.Caption->setBuddy(row.Edit);
    row.Hint = makeHint(parent);
    return row;
}

} // namespace

TBranchPage::TBranchPage(QWidget* parent) : QWidget(parent) {
    Heading = makePageHeading(QColor(188, 214, 252), this);
    Heading->setText(QStringLiteral("Branch properties"));

    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(4, 14, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    NameCaption = makeCaption(QStringLiteral("Branch name"), form);
    Name = new QLineEdit(form);
    Name->setFixedWidth(200);
    // The instrument holds no more; typing stops there instead of a silent cut on confirm.
    Name->setMaxLength(NameFieldSize);
    NameCaption->setBuddy(Name);
    ManufacturerCaption = makeCaption(QStringLiteral("Manufacturer"), form);
    Manufacturer = new QComboBox(form);
    Manufacturer->setFixedWidth(200);
    ManufacturerCaption->setBuddy(Manufacturer);
    TypeCaption = makeCaption(QStringLiteral("Type"), form);
    Type = new QComboBox(form);
    Type->setFixedWidth(200);
    TypeCaption->setBuddy(Type);
    RequestedFlow = makeRow(form);
    InitialFlow = makeRow(form);
    FinalFlow = makeRow(form);
    InitialPresetting = makeRow(form);
    FinalPresetting = makeRow(form);
    InitialPresetting.Caption->setText(QStringLiteral("Initial presetting"));
    FinalPresetting.Caption->setText(QStringLiteral("Final presetting"));
    RemarkCaption = makeCaption(QStringLiteral("Remark"), form);
    Remark = new QLineEdit(form);
    Remark->setObjectName(QStringLiteral("BranchRemark"));
    Remark->setFixedWidth(300);
    // Well within what the details file takes back.
    Remark->setMaxLength(1000);
    RemarkCaption->setBuddy(Remark);

    int r = 0;
    auto addWide = [&](QLabel* caption, QWidget* input) {
        grid->addWidget(caption, r, 0);
        grid->addWidget(input, r, 1, 1, 2, Qt::AlignLeft);
        ++r;
    };
    auto addRow = [&](const TValueRow& row) {
        grid->addWidget(row.Caption, r, 0);
        grid->addWidget(row.Edit, r, 1);
        grid->addWidget(row.Hint, r, 2);
        ++r;
    };
    addWide(NameCaption, Name);
    addWide(ManufacturerCaption, Manufacturer);
    addWide(TypeCaption, Type);
    addRow(RequestedFlow);
    addRow(InitialFlow);
    addRow(FinalFlow);
    addRow(InitialPresetting);
    addRow(FinalPresetting);
    addWide(RemarkCaption, Remark);
    for (int i = 0; i < r; ++i)
        grid->setRowMinimumHeight(i, 30);
    grid->setColumnMinimumWidth(1, 100);
    grid->setColumnStretch(2, 1);

    // Outside the layout: the pressures are edited on the instrument only.
    InitialPressure = makeRow(this);
    FinalPressure = makeRow(this);
    InitialPressure.setVisible(false);
    FinalPressure.setVisible(false);

    Confirm = new TConfirmPanel(QColor(182, 220, 183), 350, this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Heading);
    column->addWidget(form);
    column->addStretch(1);
    column->addWidget(Confirm);

    QWidget* order[] = {Name,
                        Manufacturer,
                        Type,
                        RequestedFlow.Edit,
                        InitialFlow.Edit,
                        FinalFlow.Edit,
                        InitialPressure.Edit,
                        FinalPressure.Edit,
                        InitialPresetting.Edit,
                        FinalPresetting.Edit,
                        Remark,
                        Confirm->Cancel,
                        Confirm->Ok};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QList<QLineEdit*> TBranchPage::valueEdits() const {
    return {RequestedFlow.Edit, InitialFlow.Edit,       FinalFlow.Edit,      InitialPressure.Edit,
            FinalPressure.Edit, InitialPresetting.Edit, FinalPresetting.Edit};
}
