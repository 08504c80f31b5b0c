// SPDX-License-Identifier: GPL-3.0-or-later
// Project files: whatever loads saves, what it saved reloads with the same branches, and from the
// second save on, reload and save give the same bytes.
#include "FuzzInput.h"

#include "files/ProjectFile.h"
#include "model/ProjectNames.h"

#include <cstring>
#include <memory>

namespace {

// What a save and a reload keep exactly: everything but the texts (a code page may map two bytes to
// one character) and the numbers (six decimals in the file).
bool sameStructure(const TProject& a, const TProject& b) {
    if (a.Header.State != b.Header.State || a.Header.Branch_Count != b.Header.Branch_Count)
        return false;
    for (int i = 0; i < a.branchCount(); ++i) {
        if (a.Branches[i].Valve_Index != b.Branches[i].Valve_Index ||
            a.Branches[i].Valve_Chksm != b.Branches[i].Valve_Chksm)
            return false;
    }
    return true;
}

bool dialectCarriesEveryText(const TProject& project) {
    const auto carried = [&project](const std::uint8_t* field) {
        return dialectCarries(NameText(project, field));
    };
    bool all = carried(project.Header.Name) && carried(project.Header.Last_Change);
    for (int i = 0; i < project.branchCount(); ++i)
        all = all && carried(project.Branches[i].Name);
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzzScratchDir() + QStringLiteral("/fuzz.proj");
    // The first byte picks the instrument code page (0..11, and one beyond the tables).
    const int codePage = size > 0 ? data[0] % 13 : 0;
    const QByteArray bytes = fuzzBytes(data, size);
    auto project = std::make_unique<TProject>();
    QString error;
    if (!LoadProjectBytes(bytes, QStringLiteral("input"), *project, codePage, QLocale::c(), &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(project->Header.Branch_Count >= 0 && project->Header.Branch_Count <= MaxBranches);
    FUZZ_CHECK(SaveProjectFile(path, *project, &error));
    if (!dialectCarriesEveryText(*project))
        return 0;

    // The first reload may still change a name: some code pages decode a byte to a letter that they
    // encode as its plain Latin form. From then on the file is a fixed point.
    auto reloaded = std::make_unique<TProject>();
    FUZZ_CHECK(LoadProjectBytes(fuzzReadFile(path), path, *reloaded, codePage, QLocale::c(), &error));
    FUZZ_CHECK(sameStructure(*project, *reloaded));
    FUZZ_CHECK(SaveProjectFile(path, *reloaded, &error));
    const QByteArray saved = fuzzReadFile(path);
    auto again = std::make_unique<TProject>();
    FUZZ_CHECK(LoadProjectBytes(saved, path, *again, codePage, QLocale::c(), &error));
    FUZZ_CHECK(std::memcmp(&again->Header, &reloaded->Header, sizeof(TProjectHeader)) == 0);
    FUZZ_CHECK(SaveProjectFile(path, *again, &error));
    FUZZ_CHECK(fuzzReadFile(path) == saved);
    return 0;
}
