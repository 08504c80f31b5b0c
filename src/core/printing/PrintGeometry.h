// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct TPrintMargins;

// Where the report lines go on a page: 75 line steps fill the page between the top and bottom
// margins; the text starts at half the left margin. All in printer dots except the font size.
struct TPrintGeometry {
    int LineStep = 0;
    int FontPoints = 0;
    int Top = 0;
    int Left = 0;
};

TPrintGeometry ComputePrintGeometry(double dpiX, double dpiY, int pageHeightDots, const TPrintMargins& margins);
