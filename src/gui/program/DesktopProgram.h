// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop program from its arguments to its exit code: the main window with everything it opens.
int RunDesktopProgram(int argc, char** argv);
