// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: load, change every value the program writes, save, reload. The reload shows the
// changed values and keeps the workbook layout the file held.
#include "FuzzInput.h"

#include "files/Settings.h"

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
    changed.VerifyAfterWrite = !loaded.VerifyAfterWrite;
    const QByteArray after = SettingsBytes(before, changed);
    const TSettings reloaded = LoadSettingsBytes(after);
    // The driver is only read and never written: a save that puts a line break after a value of it
    // ending the file in a stray carriage return may change how that value reads.
    changed.Driver = reloaded.Driver;
    FUZZ_CHECK(reloaded == changed);
    // Saving what is already there changes nothing, once a save has written each value in its own
    // form (a value line with a stray carriage return loses it to the first save).
    const QByteArray again = SettingsBytes(after, changed);
    FUZZ_CHECK(LoadSettingsBytes(again) == changed);
    FUZZ_CHECK(SettingsBytes(again, changed) == again);
    return 0;
}
