// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/AnalysisExport.h"
#include "commands/RecordCommands.h"

// "Export to CSV (UTF-8, for analysis)..." and "Export to JSON...": the save dialog, then the
// current record. A failure is shown; true when the file was written.
bool ExportRecordAnalysisCommand(TRecordCommandContext& context, TAnalysisFormat format);
