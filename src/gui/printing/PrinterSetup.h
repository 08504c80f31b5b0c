// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QPrinter;
class QWidget;

// Lets the user choose the printer and its options before a print; false when cancelled. The
// windows ask through this, so tests can put a PDF file in place of the dialog.
using TPrinterSetup = std::function<bool(QPrinter& printer)>;

// Qt's print dialog, parented to `parent`.
TPrinterSetup PrintDialogSetup(QWidget* parent);
