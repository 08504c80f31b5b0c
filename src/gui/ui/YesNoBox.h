// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

class QWidget;

// A Yes/No question whose Escape and close button mean Cancel rather than No: "No" to a save question
// throws the changes away, which a dismissed box must never do.
IUserInterface::Answer askYesNo(QWidget* parent, const QString& caption, const QString& text,
                                IUserInterface::Answer defaultAnswer);
