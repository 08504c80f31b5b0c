// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectPage.h"

#include "model/ProjectRecords.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int HeadingHeight = 32;
constexpr int PanelHeight = 49;
} // namespace

TConfirmPanel::TConfirmPanel(const QColor& background, int okLeft, QWidget* parent) : QFrame(parent) {
    setFixedHeight(PanelHeight);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    Question = new QLabel(QStringLiteral("Confirm changes ?"), this);
    Question->move(21, 16);
    Question->setMinimumWidth(210);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setGeometry(240, 14, 105, 25);
    Ok = new QPushButton(QStringLiteral("Ok"), this);
    Ok->setGeometry(okLeft, 14, 105, 25);
    Ok->setDefault(true);
    setTabOrder(Cancel, Ok);
    setVisible(false);
}

QLabel* makePageHeading(const QColor& background, QWidget* parent) {
    auto* heading = new QLabel(parent);
    heading->setAlignment(Qt::AlignCenter);
    heading->setFixedHeight(HeadingHeight);
    heading->setAutoFillBackground(true);
    QPalette p = heading->palette();
    p.setColor(QPalette::Window, background);
    heading->setPalette(p);
    return heading;
}

TProjectPage::TProjectPage(QWidget* parent) : QWidget(parent) {
    Heading = makePageHeading(QColor(198, 220, 253), this);
    Heading->setText(QStringLiteral("Project properties"));

    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(4, 14, 0, 0);
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(0);
    auto caption = [form](const QString& text) {
        auto* label = new QLabel(text, form);
        label->setFixedWidth(210);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    NameCaption = caption(QStringLiteral("Project name"));
    Name = new QLineEdit(form);
    Name->setFixedWidth(200);
    // The instrument holds no more; typing stops there instead of a silent cut on confirm.
    Name->setMaxLength(NameFieldSize);
    NameCaption->setBuddy(Name);
    DateCaption = caption(QStringLiteral("Last change"));
    Date = new QLineEdit(form);
    Date->setFixedWidth(200);
    Date->setEnabled(false);
    grid->addWidget(NameCaption, 0, 0);
    grid->addWidget(Name, 0, 1);
    grid->addWidget(DateCaption, 1, 0);
    grid->addWidget(Date, 1, 1);
    grid->setRowMinimumHeight(0, 28);
    grid->setRowMinimumHeight(1, 28);
    grid->setColumnStretch(2, 1);

    Confirm = new TConfirmPanel(QColor(182, 220, 183), 351, this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Heading);
    column->addWidget(form);
    column->addStretch(1);
    column->addWidget(Confirm);
}
