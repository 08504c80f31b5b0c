// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TMessageCatalogue;

// Which member of the Translate family wraps a fixed caption.
enum class TTextVariant { Plain, Ellipsis };

// The text of a fixed caption in the current language.
QString translatedText(const TMessageCatalogue& catalogue, const char* english, TTextVariant variant);

// The version text under the project tree: the translated word with a blank either side, then the
// version number, which is never translated.
QString versionText(const TMessageCatalogue& catalogue);
inline constexpr const char* ProgramVersion = "0.2.4";
// The product name heads every window title and is never translated.
inline constexpr const char* ProductTitle = "ZRV 10 User Software";
