#include "imaging/JpegScale.h"
#include "imaging/JpegCodec.h"
#include "imaging/Resample.h"

#include <QColor>
#include <QPainter>
#include <gtest/gtest.h>
#include <turbojpeg.h>

namespace {

QImage strokes(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(245, 242, 230));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 30, 90), 4));
    for (int y = 30; y < size.height(); y += 37)
        painter.drawLine(20, y, size.width() - 20, y + 9);
    painter.fillRect(size.width() / 2, size.height() / 3, size.width() / 4, size.height() / 6,
                     QColor(210, 40, 40));
    return image;
}

QByteArray jpegWith(const QImage& image, int subsamp) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(), TJPF_BGRX,
                &out, &size, subsamp, 92, 0);
    QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

// Mean absolute difference per channel between two images of one size.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

TEST(JpegScale, GivesWhatTheRgbPathGives) {
    struct Case {
        int subsamp;
        QSize source, target;
    };
    const Case cases[] = {
        {TJSAMP_420, {2480, 3508}, {633, 896}}, // a scan: decoded at 3/8, odd width
        {TJSAMP_420, {930, 1316}, {633, 896}},  // decoded at 6/8
        {TJSAMP_420, {621, 877}, {633, 895}},   // enlarged, odd sizes everywhere
        {TJSAMP_GRAY, {500, 700}, {251, 351}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.width());
        const QByteArray source = jpegWith(strokes(c.source), c.subsamp);
        const QByteArray scaled = scaleJpeg(source, c.target, 90);
        ASSERT_FALSE(scaled.isEmpty());
        const QImage planes = decodeJpeg(scaled);
        ASSERT_EQ(planes.size(), c.target);
        EXPECT_EQ(planes.format(), QImage::Format_RGB32); // always three components
        // The same job in RGB: DCT-scaled decoding, then the resampler over the exact extent.
        const QImage decoded = decodeJpeg(source, c.target);
        const QSizeF extent = dctScaledExtent(c.source, decoded.size());
        const QImage rgb = decodeJpeg(
            encodeJpeg(smoothScaleByRatio(decoded, c.target, extent.width() / c.target.width(),
                                          extent.height() / c.target.height()),
                       90));
        EXPECT_LT(meanDifference(planes, rgb), 1.5);
        // And not shifted from the job done on the full picture: thin strokes would show it
        // (the rounded-up size of a scaled decoding taken as its extent gives 8 here).
        const QImage full = decodeJpeg(encodeJpeg(smoothScale(decodeJpeg(source), c.target), 90));
        EXPECT_LT(meanDifference(planes, full), 4.5);
    }
}

TEST(JpegScale, ScaledDecodingsSpanTheirExactFraction) {
    EXPECT_EQ(dctScaledExtent({2480, 3508}, {930, 1316}), QSizeF(930, 1315.5));
    EXPECT_EQ(dctScaledExtent({2480, 3508}, {2480, 3508}), QSizeF(2480, 3508));
    EXPECT_EQ(dctScaledExtent({801, 601}, {101, 76}), QSizeF(100.125, 75.125));
}

TEST(JpegScale, LeavesWhatItCannotScaleToTheCaller) {
    const int w = 16, h = 16;
    std::vector<unsigned char> cmyk(w * h * 4, 200);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(tj, cmyk.data(), w, 0, h, TJPF_CMYK, &out, &size, TJSAMP_444, 90, 0), 0);
    const QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(tj);
    EXPECT_TRUE(scaleJpeg(jpeg, QSize(8, 8), 80).isEmpty());
    // Chroma of full height or width takes the RGB path too.
    EXPECT_TRUE(scaleJpeg(jpegWith(strokes({64, 64}), TJSAMP_422), QSize(32, 32), 80).isEmpty());
    EXPECT_TRUE(scaleJpeg(jpegWith(strokes({64, 64}), TJSAMP_444), QSize(32, 32), 80).isEmpty());
    EXPECT_TRUE(scaleJpeg("not a jpeg", QSize(8, 8), 80).isEmpty());
    EXPECT_TRUE(scaleJpeg(jpegWith(strokes({64, 64}), TJSAMP_420), QSize(0, 8), 80).isEmpty());
}
