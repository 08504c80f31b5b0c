// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordsWindowTexts.h"

#include "localisation/MessageCatalogue.h"

#include <array>

namespace {

using T = TRecordsWindowText;

// The export items lose their designed ellipsis and the HTML one reads "HTM".
constexpr std::array texts{
    T{"mFile", EnglishText("File")},
    T{"mOpen", EnglishText("Open"), T::Ellipsis},
    T{"mRecords", EnglishText("-------- Records --------")},
    T{"mClose", EnglishText("Close")},
    T{"mExportXls", EnglishText("Export to XLS")},
    T{"mExportCsv", EnglishText("Export to CSV")},
    T{"mExportHtm", EnglishText("Export to HTM")},
    T{"mOpenRecordFromDevice", EnglishText("Open record from ZRV10"), T::Ellipsis},
    T{"mSaveAsRec", EnglishText("Save as"), T::Ellipsis},
    T{"mRecentRecords", EnglishText("Recent records")},
    T{"diaLabel", EnglishText("Record")},
    T{"diaDescriptionCapt", EnglishText("Description")},
    T{"diaValveCapt", EnglishText("Valve")},
    T{"diaPresetCapt", EnglishText("Presetting")},
    T{"diaPrint", EnglishText("Print")},
    T{"TabTable", EnglishText("Table of records")},
    T{"TabPressure", EnglishText("Pressure chart")},
    T{"TabFlow", EnglishText("Flow chart")},
    T{"diaPrintP", EnglishText("Print")},
    T{"diaPrintF", EnglishText("Print")},
    T{"diaZoomInP", EnglishText("Zoom In")},
    T{"diaZoomInF", EnglishText("Zoom In")},
    T{"diaZoomOutP", EnglishText("Zoom Out")},
    T{"diaZoomOutF", EnglishText("Zoom Out")},
    T{"diaTitleP", EnglishText("Title")},
    T{"diaTitleF", EnglishText("Title")},
    T{"diaZoom100P", EnglishText("Zoom 100%")},
    T{"diaZoom100F", EnglishText("Zoom 100%")},
    T{"", EnglishText("Records")},
    T{"diaMediumCapt", EnglishText("Medium")},
    T{"diaConcentrationCapt", EnglishText("Concentration"), T::Plain, " [%]"},
    T{"diaTemperatureCapt", EnglishText("Temperature"), T::Plain, " [\u00B0C]"},
};

} // namespace

std::span<const TRecordsWindowText> recordsWindowTexts() {
    return texts;
}

QString recordsWindowText(const TMessageCatalogue& catalogue, const TRecordsWindowText& text) {
    const QString english = QString::fromUtf8(text.English);
    const QString shown = text.Kind == TRecordsWindowText::Ellipsis ? catalogue.TranslateEllipsis(english)
                                                                    : catalogue.Translate(english);
    return shown + QString::fromUtf8(text.Ending);
}
