#include "chartfile/ChartPdfWriterPrepare.h"

#include "imaging/JpegCodec.h"
#include "imaging/JpegScale.h"
#include "imaging/PageImage.h"
#include "imaging/Resample.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <new>

QSize stretchedSize(QSize source, QSize layout) {
    if (source.isEmpty() || layout.isEmpty())
        return QSize(1, 1);
    float scale;
    if (double(source.width()) / layout.width() > double(source.height()) / layout.height())
        scale = static_cast<float>(double(layout.width()) / source.width());
    else
        scale = static_cast<float>(double(layout.height()) / source.height());
    // Multiplied in double precision and truncated; a sliver of a source (10000 x 1) still
    // makes a page image of at least one pixel.
    const int w = static_cast<int>(source.width() * static_cast<double>(scale));
    const int h = static_cast<int>(source.height() * static_cast<double>(scale));
    return QSize(std::max(1, w), std::max(1, h));
}

QSize cutOutSize(QSize source, QSize layout) {
    return QSize(std::max(1, std::min(source.width(), layout.width())),
                 std::max(1, std::min(source.height(), layout.height())));
}

int clampQuality(int quality) {
    if (quality < 0 || quality > 100)
        return 100;
    return std::max(50, quality);
}

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QImage loadSource(const QString& path, const QByteArray& bytes, QSize layout, bool stretch,
                  QSize& sourceSize) {
    if (looksLikeJpeg(bytes)) {
        sourceSize = jpegSize(bytes);
        if (sourceSize.isValid()) {
            // Only a stretched page may be decoded smaller than the file: the DCT scaling
            // stops at the smallest size not below the page image.
            const QSize hint = stretch ? stretchedSize(sourceSize, layout) : QSize();
            QImage image = decodeJpeg(bytes, hint);
            if (!image.isNull())
                return image;
        }
    }
    QImage image = loadPageImage(path);
    sourceSize = image.size();
    return image;
}

} // namespace

PreparedPageImage preparePageImage(const QString& path, QSize layout, bool stretch, int quality) {
    PreparedPageImage page;
    if (!QFileInfo(path).isFile()) {
        page.status = PreparedPageImage::Status::Missing;
        return page;
    }
    try {
        const QByteArray bytes = readFile(path);
        // Scanned JPEG pages, the usual case, stay in YCbCr from file to page image.
        if (stretch && looksLikeJpeg(bytes) && jpegSize(bytes).isValid()) {
            page.size = stretchedSize(jpegSize(bytes), layout);
            page.jpeg = scaleJpeg(bytes, page.size, clampQuality(quality));
            if (!page.jpeg.isEmpty()) {
                page.status = PreparedPageImage::Status::Ready;
                return page;
            }
        }
        QSize sourceSize;
        const QImage source = loadSource(path, bytes, layout, stretch, sourceSize);
        if (source.isNull())
            return page;
        QImage prepared;
        if (stretch) {
            page.size = stretchedSize(sourceSize, layout);
            const QSizeF extent = dctScaledExtent(sourceSize, source.size());
            prepared = smoothScaleByRatio(source, page.size, extent.width() / page.size.width(),
                                          extent.height() / page.size.height());
        } else {
            page.size = cutOutSize(sourceSize, layout);
            prepared = source.copy(0, 0, page.size.width(), page.size.height());
        }
        page.jpeg = encodeJpeg(prepared, clampQuality(quality));
        if (!page.jpeg.isEmpty())
            page.status = PreparedPageImage::Status::Ready;
    } catch (const std::bad_alloc&) {
        // An image too large for memory is an image that cannot be loaded.
        page.jpeg.clear();
    }
    return page;
}
