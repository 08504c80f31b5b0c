// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartExportCommand.h"

#include "model/Translator.h"
#include "records/ChartExport.h"
#include "commands/UserInterface.h"

#include <QFileInfo>

bool ExportChartCommand(const TRecordChart& chart, IUserInterface& ui, const ITranslator& translator,
                        const QString& startPath) {
    auto tr = [&translator](const char* english) { return translator.Translate(QString::fromLatin1(english)); };
    TFileDialogOptions options;
    options.Filter = QStringLiteral("PNG (*.png);;SVG (*.svg)");
    options.DefaultExtension = QStringLiteral("png");
    options.InitialPath = startPath;
    QString path = ui.chooseFileToSave(options);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!IsChartPictureName(path)) {
        ui.showMessage(tr("Error"), tr("A chart is saved as a .png or .svg picture."));
        return false;
    }

    QSize size = DefaultChartExportSize;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        const QString shown = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        // Asked again until it reads, so that a typing error loses nothing the user chose.
        for (;;) {
            const std::optional<QString> answer = ui.inputText(tr("Export chart"), tr("Picture size in pixels (width x height)"), shown);
            if (!answer)
                return false;
            if (const std::optional<QSize> parsed = ParseChartSize(*answer)) {
                size = *parsed;
                break;
            }
            ui.showMessage(tr("Error"), tr("Please enter the size as width x height, for example 1600x1000"));
        }
    }
    QString error;
    if (WriteChartPicture(chart, size, path, &error)) {
        ui.setStatus(tr("Done"));
        return true;
    }
    ui.showMessage(tr("Error"), error);
    return false;
}
