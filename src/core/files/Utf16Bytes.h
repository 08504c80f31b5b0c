// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

// Appends the text as UTF-16 little-endian, two bytes per code unit, whatever the host's byte order.
void appendUtf16Le(QByteArray& out, QStringView text);
