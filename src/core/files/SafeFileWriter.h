// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the bytes land in a temporary file beside the
// target, are flushed, and only then replace the target, so an interrupted or failed save never
// leaves a truncated file. On failure the target is untouched and *error (if given) holds a
// sentence for the user: "Cannot write <path>: <reason>".
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
