// SPDX-License-Identifier: GPL-3.0-or-later
// Looking a text up in a full language file (999 entries): the catalogue's index beside a scan of the
// entries in file order, which gives the same results and is what the index replaces.

#include "localisation/MessageCatalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray utf16Le(const QString& text) {
    QByteArray bytes;
    for (const QChar unit : u'\uFEFF' + text) {
        const char16_t value = qToLittleEndian(unit.unicode());
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// Texts like the program's own: one to eight words, so lengths vary as they do in a real file.
QStringList englishTexts(int count) {
    static const char* const words[] = {
        "project", "branch",     "valve",     "flow",     "pressure", "device", "the",
        "is",      "not",        "record",    "save",     "open",     "file",   "units",
        "error",   "presetting", "requested", "measured", "of",       "to",     "instrument"};
    constexpr unsigned wordCount = sizeof words / sizeof *words;
    QStringList texts;
    unsigned state = 12345;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
    while (texts.size() < count) {
        QString text = QString::fromLatin1(words[next() % wordCount]);
        text[0] = text[0].toUpper();
        for (unsigned n = next() % 8; n > 0; --n)
            text += u' ' + QString::fromLatin1(words[next() % wordCount]);
        if (texts.contains(text))
            text += u' ' + QString::number(texts.size());
        texts.append(text);
    }
    return texts;
}

// One text beyond ASCII, which the locale lower-cases.
QStringList withNonAsciiText(QStringList texts) {
    texts[MaxMessages / 4] = QStringLiteral("Überprüfung des Ventils");
    return texts;
}

const QString* findLinear(const QList<TMessageEntry>& entries, const QString& lowerCasedKey) {
    for (const TMessageEntry& entry : entries) {
        if (entry.key == lowerCasedKey)
            return &entry.translation;
    }
    return nullptr;
}

// One loaded catalogue for all benchmarks: language 1 with MaxMessages entries, all in the master list.
struct Catalogue {
    QTemporaryDir dir;
    TMessageCatalogue catalogue{dir.path(), QLocale(QLocale::English)};
    QStringList texts = withNonAsciiText(englishTexts(MaxMessages));

    Catalogue() {
        QString language;
        QString master;
        for (const QString& text : texts) {
            language += text + QStringLiteral(";\t") + text.toUpper() + QStringLiteral("\r\n");
            master += text + QStringLiteral(";\t\r\n");
        }
        writeFile(dir.filePath(QStringLiteral("messages.ini")),
                  "[Main]\nTotal=2\n[Files]\n1=messages_xx.txt\n");
        writeFile(dir.filePath(QStringLiteral("messages_xx.txt")), utf16Le(language));
        writeFile(dir.filePath(QStringLiteral("messages_uk.txt")), utf16Le(master));
        catalogue.LoadLanguageList();
        catalogue.SetCurrentLanguage(1);
        if (!catalogue.LoadLanguage() || catalogue.EntryCount() != MaxMessages) {
            std::fprintf(stderr, "catalogue not loaded: %s\n", qPrintable(catalogue.LastError()));
            std::exit(1);
        }
        // The index must answer exactly as the scan does.
        for (const QString& text : texts + QStringList{QStringLiteral("Not in the file")}) {
            const QString key = catalogue.LowerCase(text);
            if (catalogue.FindTranslation(key) != findLinear(catalogue.Entries(), key)) {
                std::fprintf(stderr, "index and scan disagree on %s\n", qPrintable(text));
                std::exit(1);
            }
        }
    }

    // A hit half-way through the file: the average cost of a scan that finds its text.
    QString hitText() const { return texts[MaxMessages / 2]; }
    QString hitKey() const { return catalogue.LowerCase(hitText()); }
    // The hit text with one more word: same start, in no entry.
    QString missKey() const { return catalogue.LowerCase(texts[MaxMessages / 2] + QStringLiteral(" x")); }
};

Catalogue& catalogue() {
    static Catalogue instance;
    return instance;
}

void BM_FindIndexedHit(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString key = catalogue().hitKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.FindTranslation(key));
}
BENCHMARK(BM_FindIndexedHit);

void BM_FindLinearHit(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString key = catalogue().hitKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(findLinear(c.Entries(), key));
}
BENCHMARK(BM_FindLinearHit);

void BM_FindIndexedMiss(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString key = catalogue().missKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.FindTranslation(key));
}
BENCHMARK(BM_FindIndexedMiss);

void BM_FindLinearMiss(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString key = catalogue().missKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(findLinear(c.Entries(), key));
}
BENCHMARK(BM_FindLinearMiss);

// The whole call a window makes: lower-casing, lookup, copy of the result.
void BM_TranslateHit(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString text = catalogue().hitText();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Translate(text));
}
BENCHMARK(BM_TranslateHit);

// The same for a text beyond ASCII, lower-cased by the locale.
void BM_TranslateHitNonAscii(benchmark::State& state) {
    const TMessageCatalogue& c = catalogue().catalogue;
    const QString text = catalogue().texts[MaxMessages / 4];
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Translate(text));
}
BENCHMARK(BM_TranslateHitNonAscii);

// Re-reading the language file and the master list, building the index, on every window refresh.
void BM_LoadLanguage(benchmark::State& state) {
    TMessageCatalogue& c = catalogue().catalogue;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.LoadLanguage());
}
BENCHMARK(BM_LoadLanguage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
