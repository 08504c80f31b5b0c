// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class IUserInterface;
class ITranslator;
class TRecordChart;

// "Export chart...": the save dialog (PNG or SVG by the name's extension, PNG when it has none),
// for PNG the picture size (default 1600 x 1000), then the chart as it shows now. A failure is
// shown; true when the file was written. The dialog starts at `startPath` (none: where the last one
// was chosen).
bool ExportChartCommand(const TRecordChart& chart, IUserInterface& ui, const ITranslator& translator,
                        const QString& startPath = {});
