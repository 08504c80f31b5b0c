// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrinterSetup.h"

#include <QPrintDialog>
#include <QPrinter>

TPrinterSetup PrintDialogSetup(QWidget* parent) {
    return [parent](QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}
