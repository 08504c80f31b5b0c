// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordsWindowExtraTexts.h"

#include "localisation/MessageCatalogue.h"
#include "model/Translator.h"

#include <QAction>

#include <array>

namespace {

using T = TRecordsWindowExtraText;

constexpr std::array texts{
    T{"mExportAnalysisCsv", EnglishText("Export to CSV (UTF-8, for analysis)"), true},
    T{"mExportJson", EnglishText("Export to JSON"), true},
    T{"mExportChart", EnglishText("Export chart"), true},
    T{"mPrintWithCharts", EnglishText("Print with charts"), true},
    T{"mCompareRecord", EnglishText("Compare with record"), true},
    T{"mCompareDeviceRecord", EnglishText("Compare with record from device"), true},
    T{"mRemoveComparison", EnglishText("Remove comparison"), false},
};

} // namespace

std::span<const TRecordsWindowExtraText> recordsWindowExtraTexts() {
    return texts;
}

void ApplyRecordsWindowExtraTexts(QObject& window, const TMessageCatalogue& catalogue) {
    for (const T& text : texts) {
        const QString english = QString::fromUtf8(text.English);
        const QString shown = text.Ellipsis ? catalogue.TranslateEllipsis(english) : catalogue.Translate(english);
        if (auto* action = window.findChild<QAction*>(QLatin1String(text.Control)))
            action->setText(shown);
    }
}
