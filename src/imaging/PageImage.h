#pragma once
// Loading the image file of a working page, whatever the page's file name says it is.

#include <QImage>
#include <QSize>
#include <QString>

// Loads a page image. JPEG is recognised by content (not by extension) and decoded through
// decodeJpeg with `atLeast` as the decoding hint; PNG, TIFF, BMP and the other formats Qt
// reads are loaded at full size. Transparent pixels are flattened onto white. The result is
// Format_Grayscale8 for grey and one-bit images, otherwise Format_RGB32; a null image when
// the file is missing or unreadable.
QImage loadPageImage(const QString& path, QSize atLeast = QSize());
