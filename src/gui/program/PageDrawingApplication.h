// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

#include <memory>

// An application that can draw pages (reports as PDF, chart pictures) without showing anything: no
// display is needed, nor used when one is set but cannot be reached.
std::unique_ptr<QCoreApplication> MakePageDrawingApplication(int& argc, char** argv);
