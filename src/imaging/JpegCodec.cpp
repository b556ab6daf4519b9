#include "imaging/JpegCodec.h"

#include <turbojpeg.h>

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
