// SPDX-License-Identifier: GPL-3.0-or-later
// The commissioning details beside a project: read, and what reads is written and reads back the same.
// A refused input leaves no details behind.
#include "FuzzInput.h"

#include "files/CommissioningFile.h"
#include "model/Markers.h"
#include "model/Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TCommissioningDetails details;
    QString error;
    const TCommissioningLoad result = ParseCommissioningJson(fuzzBytes(data, size), EnglishOnly(), details, &error);
    if (result != TCommissioningLoad::Loaded) {
        FUZZ_CHECK(details == TCommissioningDetails{});
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(details.BranchRemarks.size() <= MaxBranches);
    TCommissioningDetails reloaded;
    FUZZ_CHECK(ParseCommissioningJson(CommissioningJson(details), EnglishOnly(), reloaded, &error) ==
               TCommissioningLoad::Loaded);
    FUZZ_CHECK(reloaded == details);
    return 0;
}
