#pragma once

#include <QString>

#include <span>

class TMessageCatalogue;

// Which member of the Translate family wraps a fixed caption.
enum class TTextVariant { Plain, Ellipsis };

// One fixed caption of the main window: the object name of its action or menu and the English text.
struct TWindowText {
    const char* Control;
    const char* English;
    TTextVariant Variant;
};

// The main window's own captions, in the order they are applied: the menus before the editor pages'
// captions, the spreadsheet items after them.
std::span<const TWindowText> mainWindowMenuTexts();
std::span<const TWindowText> mainWindowLateTexts();

QString translatedText(const TMessageCatalogue& catalogue, const TWindowText& text);

// The version text under the project tree: the translated word with a blank either side, then the
// version number, which is never translated.
QString versionText(const TMessageCatalogue& catalogue);
inline constexpr const char* ProgramVersion = "0.2.4";
// The product name heads every window title and is never translated.
inline constexpr const char* ProductTitle = "ZRV 10 User Software";
