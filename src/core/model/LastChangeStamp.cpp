// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LastChangeStamp.h"

#include "model/InstrumentText.h"

QString LastChangeText(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%i.%i.%04i %02i:%02i", d.day(), d.month(), d.year(), t.hour(), t.minute());
}

void StampLastChange(TProjectHeader& header, const IClock& clock) {
    // Digits, dots, blank and colon are the same byte in every character table.
    EncodeInstrumentText(LastChangeText(clock.localNow()), header.Last_Change, NameFieldSize, -1);
}
