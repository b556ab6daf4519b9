#include "imaging/JpegCodec.h"

#include <QBuffer>
#include <QColor>
#include <QPainter>
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>

namespace {

// A page-like picture: paper, a few strokes and a colour patch, so that the codec has edges
// and flat areas to get right.
QImage samplePage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(250, 248, 240));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 3));
    for (int y = 20; y < size.height(); y += 40)
        painter.drawLine(10, y, size.width() - 10, y + 5);
    painter.fillRect(size.width() / 4, size.height() / 4, size.width() / 3, size.height() / 5,
                     QColor(200, 30, 40));
    return image;
}

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

QByteArray qtJpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

} // namespace

TEST(JpegCodec, EncodesAndDecodesAtFullSize) {
    const QImage page = samplePage(QSize(320, 240));
    const QByteArray jpeg = encodeJpeg(page, 95);
    ASSERT_TRUE(looksLikeJpeg(jpeg));
    EXPECT_EQ(jpegSize(jpeg), QSize(320, 240));
    const QImage back = decodeJpeg(jpeg);
    ASSERT_EQ(back.format(), QImage::Format_RGB32);
    ASSERT_EQ(back.size(), page.size());
    // Colour order matters: a swapped red and blue would leave the red patch blue.
    EXPECT_EQ(qRed(back.pixel(120, 70)) > 150 && qBlue(back.pixel(120, 70)) < 100, true);
    EXPECT_LT(maxDifference(page.copy(100, 65, 60, 30), back.copy(100, 65, 60, 30)), 12);
}

TEST(JpegCodec, LowerQualityGivesSmallerFiles) {
    const QImage page = samplePage(QSize(400, 300));
    EXPECT_LT(encodeJpeg(page, 50).size(), encodeJpeg(page, 100).size());
    EXPECT_EQ(encodeJpeg(page, 150), encodeJpeg(page, 100)); // quality is clamped
    EXPECT_TRUE(encodeJpeg(QImage(), 80).isEmpty());
}

struct ScaleCase {
    QSize source;
    QSize atLeast;
    QSize decoded;
};

class JpegDctScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(JpegDctScaling, DecodesAtTheSmallestFactorNotBelowTheTarget) {
    const ScaleCase& c = GetParam();
    const QByteArray jpeg = encodeJpeg(samplePage(c.source), 80);
    EXPECT_EQ(decodeJpeg(jpeg, c.atLeast).size(), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Factors, JpegDctScaling,
    ::testing::Values(ScaleCase{{800, 600}, {}, {800, 600}},              // no target: full size
                      ScaleCase{{800, 600}, {100, 75}, {100, 75}},        // 1/8 exactly
                      ScaleCase{{800, 600}, {101, 75}, {200, 150}},       // 1/8 too narrow: 2/8
                      ScaleCase{{800, 600}, {100, 450}, {600, 450}},      // height decides: 6/8
                      ScaleCase{{800, 600}, {900, 700}, {800, 600}},      // never enlarged
                      ScaleCase{{2480, 3508}, {633, 896}, {930, 1316}})); // a scan: 3/8

TEST(JpegCodec, GreyJpegsDecodeGreyAndEncodeInColour) {
    QImage grey(64, 48, QImage::Format_Grayscale8);
    grey.fill(128);
    const QImage decoded = decodeJpeg(qtJpeg(grey));
    ASSERT_EQ(decoded.format(), QImage::Format_Grayscale8);
    EXPECT_NEAR(qGray(decoded.pixel(10, 10)), 128, 2);
    // Chart pages are declared DeviceRGB, so even a grey page is written with three components.
    EXPECT_EQ(decodeJpeg(encodeJpeg(decoded, 80)).format(), QImage::Format_RGB32);
}

TEST(JpegCodec, CmykJpegsAreDecodedToRgb) {
    // A CMYK JPEG as some scanners and editors write it: plain cyan, with the inverted ink
    // values that Adobe applications store (0 is full ink).
    const int w = 32, h = 16;
    std::vector<unsigned char> cmyk(w * h * 4, 255);
    for (int i = 0; i < w * h; ++i)
        cmyk[i * 4] = 0;
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(tj, cmyk.data(), w, 0, h, TJPF_CMYK, &out, &size, TJSAMP_444, 95, 0), 0);
    const QByteArray jpeg(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    tjFree(out);
    tjDestroy(tj);
    const QImage image = decodeJpeg(jpeg);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(w, h));
    EXPECT_LT(qRed(image.pixel(5, 5)), qBlue(image.pixel(5, 5)));
}

TEST(JpegCodec, RefusesWhatIsNotAJpeg) {
    const QByteArray jpeg = encodeJpeg(samplePage(QSize(200, 160)), 80);
    const QByteArray notJpeg[] = {QByteArray(), QByteArray("\x89PNG\r\n\x1a\n"),
                                  QByteArray("\xFF\xD8\xFF\xE0garbage garbage garbage"),
                                  jpeg.left(2)};
    for (const QByteArray& bytes : notJpeg) {
        EXPECT_FALSE(jpegSize(bytes).isValid());
        EXPECT_TRUE(decodeJpeg(bytes).isNull());
    }
    // A scan cut short in transfer still shows what arrived, as image viewers do.
    EXPECT_EQ(decodeJpeg(jpeg.left(jpeg.size() / 2)).size(), QSize(200, 160));
}
