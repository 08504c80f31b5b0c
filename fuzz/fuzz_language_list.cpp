// SPDX-License-Identifier: GPL-3.0-or-later
// messages.ini, the list of languages, in UTF-8 or UTF-16.
#include "FuzzInput.h"

#include "localisation/LanguageList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString directory = QStringLiteral("/languages/");
    const TLanguageList list = LoadLanguageListBytes(fuzzBytes(data, size), directory);
    FUZZ_CHECK(list.count() >= 0 && list.count() <= TLanguageList::Capacity);
    for (int i = 0; i < list.count(); ++i) {
        const TLanguage& language = list.at(i);
        FUZZ_CHECK(language.path.isEmpty() ||
                   (language.path.startsWith(directory) && language.path != directory));
    }
    FUZZ_CHECK(!list.contains(-1) && !list.contains(list.count()));
    return 0;
}
