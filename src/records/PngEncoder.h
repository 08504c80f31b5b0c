#pragma once

#include <QByteArray>

class QImage;

// The image as the bytes of a PNG file without alpha: 8-bit indices into a palette when the image
// has at most 256 colours, as a chart has, else 8-bit RGB; each row stored as its difference to the
// row above, deflated as runs of one byte. A chart is mostly rows that repeat the one above, so
// this is many times faster than a general encoder and still small. Empty for a null image.
QByteArray EncodePng(const QImage& image);
