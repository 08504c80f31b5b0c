// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstrumentCodePage.h"

#include <array>

int InstrumentCodePageFor(int currentLanguage, int previousCodePage) {
    static constexpr std::array<int, 6> codePages{3, 0, 2, 5, 9, 11};
    if (currentLanguage < 0 || currentLanguage >= static_cast<int>(codePages.size()))
        return previousCodePage;
    return codePages[static_cast<std::size_t>(currentLanguage)];
}
