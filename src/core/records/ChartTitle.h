// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A record's description made fit for a chart title: trailing blanks cut (a text of blanks only is
// kept as it is), then each pair of neighbouring blanks loses its first one, scanning left to right,
// so that a run of n blanks inside the text keeps ceil(n / 2) of them.
QString TidyTitle(const QString& text);
