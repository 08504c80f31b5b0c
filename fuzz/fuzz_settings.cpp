// The settings file: load, change every value the program writes, save, reload. The reload shows the
// changed values and keeps the workbook layout the file held.
#include "FuzzInput.h"

#include "files/Settings.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray before = fuzzBytes(data, size);
    const TSettings loaded = LoadSettingsBytes(before);
    FUZZ_CHECK(loaded.FlowUnit >= 0 && loaded.FlowUnit <= 8);
    FUZZ_CHECK(loaded.PressureUnit >= 0 && loaded.PressureUnit <= 10);

    TSettings changed = loaded;
    changed.FlowUnit = (loaded.FlowUnit + 1) % 9;
    changed.PressureUnit = (loaded.PressureUnit + 1) % 11;
    changed.CurrentLanguage = loaded.CurrentLanguage ^ 1;
    changed.PrintMargins.Left = loaded.PrintMargins.Left ^ 3;
    changed.PrintMargins.Right = -loaded.PrintMargins.Right / 2;
    changed.PrintMargins.Top = loaded.PrintMargins.Top / 3 + 1;
    changed.PrintMargins.Bottom = loaded.PrintMargins.Bottom ^ 0x40000000;
    const QByteArray after = SettingsBytes(before, changed);
    const TSettings reloaded = LoadSettingsBytes(after);
    // The driver is only read: a damaged value of it (a stray carriage return at the end of the file,
    // bytes that are no UTF-8) may read otherwise once the save has put a line break after it. A
    // plain value must come back as it was.
    const bool plainDriver = std::all_of(changed.Driver.begin(), changed.Driver.end(),
                                         [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
    if (!plainDriver)
        changed.Driver = reloaded.Driver;
    FUZZ_CHECK(reloaded == changed);
    // Saving what is already there changes nothing, once a save has written each value in its own
    // form (a value line with a stray carriage return loses it to the first save).
    const QByteArray again = SettingsBytes(after, changed);
    FUZZ_CHECK(LoadSettingsBytes(again) == changed);
    FUZZ_CHECK(SettingsBytes(again, changed) == again);
    return 0;
}
