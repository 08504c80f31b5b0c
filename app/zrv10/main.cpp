// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/DesktopProgram.h"

int main(int argc, char** argv) {
    return RunDesktopProgram(argc, argv);
}
