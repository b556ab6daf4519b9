#include "imaging/JpegCodec.h"

#include <turbojpeg.h>

#include <algorithm>
#include <memory>

namespace {

struct TjDeleter {
    void operator()(void* handle) const {
        if (handle)
            tjDestroy(handle);
    }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

// One decompressor and one compressor per thread: pages are prepared on worker threads, and
// a handle must not be shared between threads at the same time.
tjhandle decompressor() {
    thread_local TjHandle handle(tjInitDecompress());
    return handle.get();
}

tjhandle compressor() {
    thread_local TjHandle handle(tjInitCompress());
    return handle.get();
}

struct Header {
    int width = 0;
    int height = 0;
    int subsamp = 0;
    int colorspace = 0;
};

bool readHeader(const QByteArray& jpeg, Header& header) {
    tjhandle tj = decompressor();
    if (!tj || !looksLikeJpeg(jpeg))
        return false;
    if (tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &header.width, &header.height,
                            &header.subsamp, &header.colorspace) != 0)
        return false;
    return header.width > 0 && header.height > 0;
}

// The smallest n/8 (n = 1..8) whose scaled size is at least `atLeast` in both dimensions.
QSize decodeSize(const Header& header, QSize atLeast) {
    const QSize full(header.width, header.height);
    if (!atLeast.isValid())
        return full;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    QSize best = full;
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num > f.denom)
            continue; // enlarging is the resampler's work, not the decoder's
        const QSize scaled(TJSCALED(header.width, f), TJSCALED(header.height, f));
        if (scaled.width() >= atLeast.width() && scaled.height() >= atLeast.height() &&
            scaled.width() * qint64(scaled.height()) < best.width() * qint64(best.height()))
            best = scaled;
    }
    return best;
}

// JPEGs that libjpeg-turbo will not convert to RGB (CMYK and YCCK from some scanners and
// editors) are left to Qt's reader, which knows the Adobe inversion.
QImage decodeWithQt(const QByteArray& jpeg) {
    QImage image;
    if (!image.loadFromData(jpeg, "JPEG"))
        return QImage();
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// The plane grown to `padded` by repeating its last column and row, as the encoder reads a luma
// plane padded to the subsampling factors.
QImage padPlane(const QImage& plane, QSize padded) {
    if (plane.size() == padded)
        return plane;
    QImage out(padded, QImage::Format_Grayscale8);
    for (int y = 0; y < padded.height(); ++y) {
        const uchar* src = plane.constScanLine(std::min(y, plane.height() - 1));
        uchar* dst = out.scanLine(y);
        std::copy(src, src + plane.width(), dst);
        std::fill(dst + plane.width(), dst + padded.width(), src[plane.width() - 1]);
    }
    return out;
}

} // namespace

bool looksLikeJpeg(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

QSize jpegSize(const QByteArray& jpeg) {
    Header header;
    if (!readHeader(jpeg, header))
        return QSize();
    return QSize(header.width, header.height);
}

QImage decodeJpeg(const QByteArray& jpeg, QSize atLeast) {
    Header header;
    if (!readHeader(jpeg, header))
        return QImage();
    if (header.colorspace == TJCS_CMYK || header.colorspace == TJCS_YCCK)
        return decodeWithQt(jpeg);

    const QSize size = decodeSize(header, atLeast);
    const bool grey = header.colorspace == TJCS_GRAY;
    QImage image(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    // Format_RGB32 is 0xffRRGGBB in native order: B, G, R, 0xFF bytes on little-endian hosts.
    const int pixelFormat =
        grey ? TJPF_GRAY : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB);
    const int rc =
        tjDecompress2(decompressor(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), image.bits(), size.width(),
                      static_cast<int>(image.bytesPerLine()), size.height(), pixelFormat, 0);
    // A warning (a truncated scan, for example) still leaves a usable picture: keep it, as
    // the image viewers do. Only a fatal error refuses the file.
    if (rc != 0 && tjGetErrorCode(decompressor()) == TJERR_FATAL)
        return QImage();
    return image;
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull())
        return QByteArray();
    tjhandle tj = compressor();
    if (!tj)
        return QByteArray();
    const QImage rgb =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int rc = tjCompress2(tj, rgb.constBits(), rgb.width(),
                               static_cast<int>(rgb.bytesPerLine()), rgb.height(), pixelFormat,
                               &out, &outSize, TJSAMP_420, qBound(1, quality, 100), 0);
    QByteArray result;
    if (rc == 0 && out)
        result = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
    tjFree(out);
    return result;
}

JpegPlanes decodeJpegPlanes(const QByteArray& jpeg, QSize atLeast) {
    Header header;
    if (!readHeader(jpeg, header))
        return JpegPlanes();
    const bool grey = header.colorspace == TJCS_GRAY;
    if (!grey && header.colorspace != TJCS_YCbCr)
        return JpegPlanes();
    const QSize size = decodeSize(header, atLeast);
    JpegPlanes planes;
    // The luma plane is padded to a multiple of the subsampling factors; the padding is cut off
    // after decoding.
    const QSize luma(tjPlaneWidth(0, size.width(), header.subsamp),
                     tjPlaneHeight(0, size.height(), header.subsamp));
    if (luma.width() <= 0 || luma.height() <= 0)
        return JpegPlanes();
    planes.y = QImage(luma, QImage::Format_Grayscale8);
    if (!grey) {
        const QSize chroma(tjPlaneWidth(1, size.width(), header.subsamp),
                           tjPlaneHeight(1, size.height(), header.subsamp));
        if (chroma.width() <= 0 || chroma.height() <= 0)
            return JpegPlanes();
        planes.cb = QImage(chroma, QImage::Format_Grayscale8);
        planes.cr = QImage(chroma, QImage::Format_Grayscale8);
        if (planes.cb.isNull() || planes.cr.isNull())
            return JpegPlanes();
    }
    if (planes.y.isNull())
        return JpegPlanes();
    unsigned char* dst[3] = {planes.y.bits(), grey ? nullptr : planes.cb.bits(),
                             grey ? nullptr : planes.cr.bits()};
    int strides[3] = {static_cast<int>(planes.y.bytesPerLine()),
                      grey ? 0 : static_cast<int>(planes.cb.bytesPerLine()),
                      grey ? 0 : static_cast<int>(planes.cr.bytesPerLine())};
    const int rc = tjDecompressToYUVPlanes(
        decompressor(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
        static_cast<unsigned long>(jpeg.size()), dst, size.width(), strides, size.height(), 0);
    if (rc != 0 && tjGetErrorCode(decompressor()) == TJERR_FATAL)
        return JpegPlanes();
    if (luma != size)
        planes.y = planes.y.copy(0, 0, size.width(), size.height());
    return planes;
}

QByteArray encodeJpegPlanes420(const JpegPlanes& planes, int quality) {
    if (planes.isNull() || planes.y.format() != QImage::Format_Grayscale8)
        return QByteArray();
    const int w = planes.y.width(), h = planes.y.height();
    const QSize chroma(tjPlaneWidth(1, w, TJSAMP_420), tjPlaneHeight(1, h, TJSAMP_420));
    const QImage y =
        padPlane(planes.y, QSize(tjPlaneWidth(0, w, TJSAMP_420), tjPlaneHeight(0, h, TJSAMP_420)));
    QImage cb = planes.cb, cr = planes.cr;
    if (cb.isNull() || cr.isNull()) {
        cb = QImage(chroma, QImage::Format_Grayscale8);
        cb.fill(128);
        cr = cb;
    }
    if (cb.size() != chroma || cr.size() != chroma || cb.format() != QImage::Format_Grayscale8 ||
        cr.format() != QImage::Format_Grayscale8)
        return QByteArray();
    tjhandle tj = compressor();
    if (!tj)
        return QByteArray();
    const unsigned char* src[3] = {y.constBits(), cb.constBits(), cr.constBits()};
    const int strides[3] = {static_cast<int>(y.bytesPerLine()), static_cast<int>(cb.bytesPerLine()),
                            static_cast<int>(cr.bytesPerLine())};
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int rc = tjCompressFromYUVPlanes(tj, src, w, strides, h, TJSAMP_420, &out, &outSize,
                                           qBound(1, quality, 100), 0);
    QByteArray result;
    if (rc == 0 && out)
        result = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
    tjFree(out);
    return result;
}
