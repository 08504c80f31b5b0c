// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The instrument's character table for the texts exchanged with it, derived from the current language
// each time the main window's texts are applied. Languages without a table of their own (6 and above,
// or an index that is not in the list) keep previousCodePage.
int InstrumentCodePageFor(int currentLanguage, int previousCodePage);
