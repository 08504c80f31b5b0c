// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <span>

class TMessageCatalogue;

// One caption of the records window, applied on every activation: the object name of the control
// (empty for the window caption), its English text, whether "..." follows the translation, and an
// untranslated ending.
struct TRecordsWindowText {
    enum Variant { Plain, Ellipsis };
    const char* Control;
    const char* English;
    Variant Kind = Plain;
    const char* Ending = "";
};

// In the order they are applied.
std::span<const TRecordsWindowText> recordsWindowTexts();

QString recordsWindowText(const TMessageCatalogue& catalogue, const TRecordsWindowText& text);
