// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct TRecordStore;
struct TUnits;
class ITranslator;

// Words the presetting of every held header, and of the current one when the decode set it, from the
// value the instrument gave (PresettingValue): two decimals in the units' locale, the word "None", or
// nothing.
void WordPresettings(TRecordStore& store, const TUnits& units, const ITranslator& translator);
