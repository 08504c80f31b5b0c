// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/AnalysisExportCommand.h"

#include "model/Translator.h"
#include "commands/UserInterface.h"

bool ExportRecordAnalysisCommand(TRecordCommandContext& c, TAnalysisFormat format) {
    TFileDialogOptions options;
    const bool json = format == TAnalysisFormat::Json;
    options.Filter = json ? QStringLiteral("JSON Files (*.json)") : QStringLiteral("CSV Files (*.csv)");
    options.DefaultExtension = json ? QStringLiteral("json") : QStringLiteral("csv");
    const QString chosen = c.Ui.chooseFileToSave(options);
    if (chosen.isEmpty())
        return false;
    QString error;
    if (ExportRecordAnalysis(c.Store, c.Units, format, chosen, &error))
        return true;
    c.Ui.showMessage(c.Translator.Translate(QStringLiteral("Error")), error);
    return false;
}
