#pragma once
// Page image files for the page list and acquisition tests: solid colours, so that a
// thumbnail can be traced back to its page.

#include "imaging/JpegCodec.h"
#include "support/TempDir.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QString>

inline QImage solidPage(const QColor& colour, QSize size = QSize(120, 170)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Writes a solid page as a JPEG, whatever the name's extension says.
inline void writeJpegPage(const QString& path, const QColor& colour, QSize size = QSize(120, 170)) {
    writeFile(path, encodeJpeg(solidPage(colour, size), 90));
}

inline void writePngPage(const QString& path, const QColor& colour) {
    writeFile(path, QByteArray());
    solidPage(colour).save(path, "PNG");
}

// The colour at the centre of a list item's thumbnail.
inline QColor itemColour(QListWidget* list, int row) {
    const QSize side = list->iconSize();
    const QImage image = list->item(row)->icon().pixmap(side).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// True when the colours differ by at most `tolerance` in each channel (JPEG is lossy).
inline bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}
