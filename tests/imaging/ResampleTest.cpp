#include "imaging/Resample.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QImage greyRow(std::initializer_list<int> values) {
    QImage image(static_cast<int>(values.size()), 1, QImage::Format_Grayscale8);
    int x = 0;
    for (int v : values)
        image.scanLine(0)[x++] = static_cast<uchar>(v);
    return image;
}

std::vector<int> row(const QImage& image) {
    std::vector<int> values;
    for (int x = 0; x < image.width(); ++x)
        values.push_back(image.constScanLine(0)[x]);
    return values;
}

double meanGrey(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (double(image.width()) * image.height());
}

} // namespace

TEST(Resample, AveragesByAreaAndInterpolatesLinearly) {
    struct Case {
        QImage source;
        int width;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // 1-pixel strokes halved: every stroke still counts (nearest would drop half of them).
        {greyRow({0, 255, 0, 255, 0, 255}), 3, {128, 128, 128}},
        // 3 to 2: the middle pixel is shared half and half.
        {greyRow({0, 255, 0}), 2, {85, 85}},
        {greyRow({30, 90, 150, 210}), 1, {120}},
        // Enlargement interpolates between neighbouring centres.
        {greyRow({0, 255}), 4, {0, 64, 191, 255}},
        {greyRow({77}), 5, {77, 77, 77, 77, 77}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(row(smoothScale(c.source, QSize(c.width, 1))), c.expected) << c.width;
}

TEST(Resample, FlatAreasStayExactlyFlatAndBrightnessIsKept) {
    QImage flat(997, 1403, QImage::Format_RGB32);
    flat.fill(qRgb(201, 13, 77));
    QImage noise(620, 877, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
    for (QSize target : {QSize(633, 896), QSize(101, 67), QSize(1500, 1000), QSize(1, 1)}) {
        const QImage scaled = smoothScale(flat, target);
        ASSERT_EQ(scaled.size(), target);
        ASSERT_EQ(scaled.format(), QImage::Format_RGB32);
        for (QPoint p : {QPoint(0, 0), QPoint(target.width() - 1, target.height() - 1),
                         QPoint(target.width() / 2, target.height() / 3)})
            EXPECT_EQ(scaled.pixel(p), qRgb(201, 13, 77)) << target.width();
        EXPECT_NEAR(meanGrey(smoothScale(noise, target)), meanGrey(noise), 1.0) << target.width();
    }
}

TEST(Resample, KeepsGreyAndNormalisesOtherFormats) {
    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(90);
    EXPECT_EQ(smoothScale(grey, QSize(20, 15)).format(), QImage::Format_Grayscale8);
    QImage argb(40, 30, QImage::Format_ARGB32);
    argb.fill(qRgba(10, 20, 30, 255));
    const QImage scaled = smoothScale(argb, QSize(17, 9));
    EXPECT_EQ(scaled.format(), QImage::Format_RGB32);
    EXPECT_EQ(scaled.pixel(8, 4), qRgb(10, 20, 30));
    EXPECT_TRUE(smoothScale(QImage(), QSize(5, 5)).isNull());
    EXPECT_TRUE(smoothScale(grey, QSize(0, 5)).isNull());
}
