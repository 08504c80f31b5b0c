// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/YesNoBox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

// QMessageBox turns Escape and the close button into a click on No; here they leave no button clicked.
class TYesNoBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        reject();
    }
};

} // namespace

IUserInterface::Answer askYesNo(QWidget* parent, const QString& caption, const QString& text,
                                IUserInterface::Answer defaultAnswer) {
    TYesNoBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultAnswer == IUserInterface::Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return IUserInterface::Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return IUserInterface::Answer::No;
    return IUserInterface::Answer::Cancel;
}
