// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CommissioningDetails.h"

#include <QByteArray>
#include <QString>

#include <optional>

class ITranslator;

// NAME.proj -> NAME.commissioning.json beside it.
QString CommissioningPathFor(const QString& projectPath);

QByteArray CommissioningJson(const TCommissioningDetails& details);
bool SaveCommissioningFile(const QString& path, const TCommissioningDetails& details, QString* error);

enum class TCommissioningLoad { Loaded, Missing, Failed };

// A missing file is no error: the project simply has no details yet. A damaged or newer file gives
// Failed with a sentence in *error and leaves *details empty; the file is never changed.
TCommissioningLoad ParseCommissioningJson(const QByteArray& bytes, const ITranslator& translator,
                                          TCommissioningDetails& details, QString* error);
TCommissioningLoad LoadCommissioningFile(const QString& path, const ITranslator& translator,
                                         TCommissioningDetails& details, QString* error);
