// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <functional>
#include <optional>

struct TRecordStore;

// Shows one caption per held header and answers the chosen index, or nullopt when cancelled. The
// record list dialog answers it in the program, a script in tests and the companion.
using TRecordChooser = std::function<std::optional<int>(const QStringList& captions)>;

// Offers the held headers by their descriptions, in table order. On a choice, makes it the current
// record and copies its header into CurrentHeader; on a cancel, or an answer that names no held
// header, changes nothing and returns false.
bool ChooseDeviceRecord(TRecordStore& store, const TRecordChooser& chooser);
