// SPDX-License-Identifier: GPL-3.0-or-later
// Record files: whatever loads saves, and what it saved reloads into the same record and saves to the
// same bytes.
#include "FuzzInput.h"

#include "files/RecordFile.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/RecordModel.h"

namespace {

bool sameRecord(const TRecordStore& a, const TRecordStore& b) {
    if (a.SampleCount != b.SampleCount || !(a.CurrentHeader == b.CurrentHeader))
        return false;
    for (std::int32_t i = 0; i < a.heldSamples(); ++i) {
        const TZaznamData& x = a.Samples[i];
        const TZaznamData& y = b.Samples[i];
        if (x.Date != y.Date || x.Time != y.Time || x.Pressure != y.Pressure || x.Flow != y.Flow)
            return false;
    }
    return true;
}

bool dialectCarriesEveryText(const TRecordStore& store) {
    const TZaznam& h = store.CurrentHeader;
    bool all = dialectCarries(h.Description) && dialectCarries(h.Valve_Manufacturer) &&
               dialectCarries(h.Valve_Type) && dialectCarries(h.Presetting);
    for (std::int32_t i = 0; i < store.heldSamples(); ++i) {
        const TZaznamData& s = store.Samples[i];
        all = all && dialectCarries(s.Date) && dialectCarries(s.Time) && dialectCarries(s.Pressure) &&
              dialectCarries(s.Flow);
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzzScratchDir() + QStringLiteral("/fuzz.r9q4");
    // The tables are large; each run refills what it uses.
    static TRecordStore store, reloaded;
    const TIdentityTranslator translator;
    TUnits units;
    units.Locale = QLocale::c();
    store.SampleCount = reloaded.SampleCount = 0;
    QString error;
    if (!LoadRecordBytes(store, fuzzBytes(data, size), QStringLiteral("input"), units, translator, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(store.SampleCount >= 0 && store.SampleCount <= MaxFileSamples);
    FUZZ_CHECK(SaveRecordFile(store, path, &error));
    if (!dialectCarriesEveryText(store))
        return 0;
    const QByteArray saved = fuzzReadFile(path);
    FUZZ_CHECK(LoadRecordBytes(reloaded, saved, path, units, translator, &error));
    FUZZ_CHECK(sameRecord(store, reloaded));
    FUZZ_CHECK(SaveRecordFile(reloaded, path, &error));
    FUZZ_CHECK(fuzzReadFile(path) == saved);
    return 0;
}
