// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class QImage;

// The image as the bytes of a PNG file of 8-bit RGB without alpha, compressed by zlib. Empty for a
// null image or when zlib fails.
QByteArray EncodePng(const QImage& image);
