// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The bar at the bottom of an editor page that asks to confirm or drop the pending changes.
class TConfirmPanel : public QFrame {
    Q_OBJECT
public:
    // okLeft: the designed left edge of the Ok button, which differs by one pixel between the pages.
    TConfirmPanel(const QColor& background, int okLeft, QWidget* parent = nullptr);

    QLabel* Question;
    QPushButton* Cancel;
    QPushButton* Ok;
};

// A heading across the top of an editor page.
QLabel* makePageHeading(const QColor& background, QWidget* parent);

// The project page: the project name and the date of its last change.
class TProjectPage : public QWidget {
    Q_OBJECT
public:
    explicit TProjectPage(QWidget* parent = nullptr);

    QLabel* Heading;
    QLabel* NameCaption;
    QLineEdit* Name;
    QLabel* DateCaption;
    QLineEdit* Date;
    TConfirmPanel* Confirm;
};
