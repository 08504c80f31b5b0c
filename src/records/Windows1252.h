#pragma once

#include <QByteArray>
#include <QStringView>

// The 8-bit code page of the worksheet's text cells: Windows-1252, the usual ANSI code page of
// the systems that open these files. Characters it lacks become "?".
QByteArray toWindows1252(QStringView text);
