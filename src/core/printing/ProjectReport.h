// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

struct TProject;
struct TValveCatalogue;
struct TValveSelection;
struct TUnits;
class ITranslator;

// The project report: ten branches to a page under a header with the project name, the page number
// and the last change; flows in the display unit. The valve selection ends on the last branch
// printed.
QStringList BuildProjectReport(const TProject& project, const TValveCatalogue& catalogue,
                               TValveSelection& valve, int codePage, const TUnits& units,
                               const ITranslator& translator);
