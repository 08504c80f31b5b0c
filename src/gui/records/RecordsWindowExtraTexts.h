// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

class TMessageCatalogue;
class QObject;

// Texts of the records window's commands beyond its designed ones (analysis exports, chart
// export), kept apart from the designed table so that one stays as designed.
struct TRecordsWindowExtraText {
    const char* Control;
    const char* English;
    bool Ellipsis = false;
};

std::span<const TRecordsWindowExtraText> recordsWindowExtraTexts();
// Sets the text of each named action or widget under `window` that exists.
void ApplyRecordsWindowExtraTexts(QObject& window, const TMessageCatalogue& catalogue);
