#pragma once
// JPEG decoding and encoding over libjpeg-turbo. Decoding can scale in the DCT domain
// (1/8 to 8/8), which makes a page or a thumbnail of a large scan several times cheaper
// than decoding it at full size and scaling afterwards.

#include <QByteArray>
#include <QImage>
#include <QSize>

// The image size written in the JPEG header; an invalid QSize when the data is not a JPEG.
QSize jpegSize(const QByteArray& jpeg);

// Decodes a JPEG. With a valid `atLeast`, decodes at the smallest DCT scaling factor (n/8,
// never above 1) whose result is at least `atLeast` in both dimensions, or at full size when
// none is. The result is Format_Grayscale8 for a grey JPEG, otherwise Format_RGB32. A null
// QImage when the data is not a readable JPEG.
QImage decodeJpeg(const QByteArray& jpeg, QSize atLeast = QSize());

// Encodes a baseline JPEG with 4:2:0 chroma subsampling at `quality` (clamped to 1..100).
// The result always has three colour components, grey images included. Empty on failure.
QByteArray encodeJpeg(const QImage& image, int quality);

// True when the bytes begin with a JPEG start-of-image marker.
bool looksLikeJpeg(const QByteArray& bytes);

// The colour planes of a JPEG as stored: Y at full size, Cb and Cr at the size the chroma
// subsampling gives. All three are Format_Grayscale8; Cb and Cr are null for a grey JPEG.
struct JpegPlanes {
    QImage y, cb, cr;
    bool isNull() const { return y.isNull(); }
};

// Decodes to planes with the DCT scaling of decodeJpeg, skipping the colour conversion and
// the chroma upsampling. Null planes when the data is not a readable YCbCr or grey JPEG.
JpegPlanes decodeJpegPlanes(const QByteArray& jpeg, QSize atLeast = QSize());

// Encodes Y, Cb and Cr planes as a baseline 4:2:0 JPEG: Y of the image's size, Cb and Cr of
// half that, rounded up. Null chroma planes make a neutral grey. Empty on failure.
QByteArray encodeJpegPlanes420(const JpegPlanes& planes, int quality);
