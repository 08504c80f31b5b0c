#include "records/RecordsWindowTexts.h"

#include "localisation/MessageCatalogue.h"

#include <array>

namespace {

using T = TRecordsWindowText;

// The export items lose their designed ellipsis and the HTML one reads "HTM".
constexpr std::array texts{
    T{"mFile", "File"},
    T{"mOpen", "Open", T::Ellipsis},
    T{"mRecords", "-------- Records --------"},
    T{"mClose", "Close"},
    T{"mExportXls", "Export to XLS"},
    T{"mExportCsv", "Export to CSV"},
    T{"mExportHtm", "Export to HTM"},
    T{"mOpenRecordFromDevice", "Open record from ZRV10", T::Ellipsis},
    T{"mSaveAsRec", "Save as", T::Ellipsis},
    T{"diaLabel", "Record"},
    T{"diaDescriptionCapt", "Description"},
    T{"diaValveCapt", "Valve"},
    T{"diaPresetCapt", "Presetting"},
    T{"diaPrint", "Print"},
    T{"TabTable", "Table of records"},
    T{"TabPressure", "Pressure chart"},
    T{"TabFlow", "Flow chart"},
    T{"diaPrintP", "Print"},
    T{"diaPrintF", "Print"},
    T{"diaZoomInP", "Zoom In"},
    T{"diaZoomInF", "Zoom In"},
    T{"diaZoomOutP", "Zoom Out"},
    T{"diaZoomOutF", "Zoom Out"},
    T{"diaTitleP", "Title"},
    T{"diaTitleF", "Title"},
    T{"diaZoom100P", "Zoom 100%"},
    T{"diaZoom100F", "Zoom 100%"},
    T{"", "Records"},
    T{"diaMediumCapt", "Medium"},
    T{"diaConcentrationCapt", "Concentration", T::Plain, " [%]"},
    T{"diaTemperatureCapt", "Temperature", T::Plain, " [\u00B0C]"},
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
