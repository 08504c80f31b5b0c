// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The executables' calls into the operating system, each behind one function: a port to another
// system changes this header's .cpp and nothing else of app/.

#include <QByteArray>

// Whether standard input, or standard output, is a terminal (a user who can answer, a screen that
// would show binary bytes).
bool StandardInputIsTerminal();
bool StandardOutputIsTerminal();

// Reads all of standard input into an anonymous in-memory file and answers a path by which a library
// can open it while the process runs; empty when the input cannot be read or exceeds maxBytes.
QByteArray StandardInputAsFile(qint64 maxBytes);
