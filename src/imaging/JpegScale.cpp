#include "imaging/JpegScale.h"

#include "imaging/JpegCodec.h"
#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>

QSizeF dctScaledExtent(QSize full, QSize decoded) {
    if (full.isEmpty() || decoded.isEmpty())
        return QSizeF(decoded);
    // The decoder scales by n/8 and rounds the size up; the picture itself spans n/8 of the
    // full size, a fraction of a pixel less than the rounded size.
    const int n =
        std::clamp(static_cast<int>(std::lround(8.0 * decoded.width() / full.width())), 1, 8);
    return QSizeF(full.width() * n / 8.0, full.height() * n / 8.0);
}

QByteArray scaleJpeg(const QByteArray& jpeg, QSize target, int quality) {
    if (target.isEmpty())
        return QByteArray();
    const JpegPlanes source = decodeJpegPlanes(jpeg, target);
    if (source.isNull())
        return QByteArray();
    const QSize chroma((target.width() + 1) / 2, (target.height() + 1) / 2);
    const bool grey = source.cb.isNull();
    // Only 4:2:0 sources (what scanners and cameras write) stay in planes; their chroma scales
    // by the luma ratio, so that it stays aligned with the luma to the last pixel.
    if (!grey && (source.cb.width() != (source.y.width() + 1) / 2 ||
                  source.cb.height() != (source.y.height() + 1) / 2))
        return QByteArray();
    const QSizeF extent = dctScaledExtent(jpegSize(jpeg), source.y.size());
    const double rx = extent.width() / target.width();
    const double ry = extent.height() / target.height();
    JpegPlanes scaled;
    scaled.y = smoothScaleByRatio(source.y, target, rx, ry);
    if (!grey) {
        scaled.cb = smoothScaleByRatio(source.cb, chroma, rx, ry);
        scaled.cr = smoothScaleByRatio(source.cr, chroma, rx, ry);
    }
    return encodeJpegPlanes420(scaled, quality);
}
