// SPDX-License-Identifier: GPL-3.0-or-later
// Language files and the English master list (both UTF-16LE lists of texts), and the lookups the
// windows make in a loaded language.
#include "FuzzInput.h"

#include "localisation/MessageCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const QList<TMessageEntry> entries = parseLanguageFile(bytes);
    FUZZ_CHECK(entries.size() <= MaxMessages);

    // No language folder: nothing here may touch a file.
    TMessageCatalogue catalogue(QStringLiteral("/nonexistent/"), QLocale::c());
    catalogue.SetCurrentLanguage(1);
    catalogue.LoadLanguageBytes(bytes);
    FUZZ_CHECK(catalogue.EntryCount() == static_cast<int>(entries.size()));
    // The first entry of a key wins.
    for (const TMessageEntry& entry : catalogue.Entries()) {
        const QString* found = catalogue.FindTranslation(entry.key);
        FUZZ_CHECK(found != nullptr);
        FUZZ_CHECK(catalogue.Entries().at(0).key != entry.key ||
                   found == &catalogue.Entries().at(0).translation);
    }
    const QStringList master = parseMasterList(bytes);
    const QStringList missing = catalogue.MissingTexts(bytes);
    FUZZ_CHECK(missing.size() <= master.size());
    for (const QString& text : master)
        FUZZ_CHECK(!text.isEmpty() && text.front().unicode() > u' ' && text.back().unicode() > u' ');
    return 0;
}
