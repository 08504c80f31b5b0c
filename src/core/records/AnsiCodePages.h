// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

// The 8-bit (ANSI) code pages of the worksheet's text cells: Windows-1250 for Central European,
// 1251 for Cyrillic and 1252 for Western languages, chosen by the character set a language names
// in messages.ini (238, 204, anything else).
int AnsiCodePageForCharset(int charset);

// The text in the code page (1250, 1251; any other number means 1252); characters it lacks become
// "?".
QByteArray toAnsiCodePage(QStringView text, int codePage);
