#include "imaging/PageImage.h"

#include "imaging/JpegCodec.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

QImage normalise(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
        return image;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Grayscale16:
        return image.convertToFormat(QImage::Format_Grayscale8);
    case QImage::Format_Indexed8:
        if (image.allGray() && !image.hasAlphaChannel())
            return image.convertToFormat(QImage::Format_Grayscale8);
        break;
    default:
        break;
    }
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    // A JPEG page has no transparency: what was transparent becomes paper white rather than
    // whatever colour happened to lie under an alpha of zero.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

} // namespace

QImage loadPageImage(const QString& path, QSize atLeast) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.readAll();
    file.close();
    if (looksLikeJpeg(bytes)) {
        QImage image = decodeJpeg(bytes, atLeast);
        if (!image.isNull())
            return image;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return normalise(image);
}
