#pragma once

#include "records/AnalysisExport.h"
#include "records/RecordCommands.h"

// "Export to CSV (UTF-8, for analysis)..." and "Export to JSON...": the save dialog, then the
// current record. A failure is shown; true when the file was written.
bool ExportRecordAnalysisCommand(TRecordCommandContext& context, TAnalysisFormat format);
