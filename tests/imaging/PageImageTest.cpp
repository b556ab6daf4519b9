#include "imaging/PageImage.h"
#include "imaging/JpegCodec.h"

#include "support/TempDir.h"

#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

QImage colourPage() {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(qRgb(240, 240, 230));
    for (int x = 10; x < 110; ++x)
        image.setPixel(x, 45, qRgb(0, 0, 0));
    return image;
}

void save(const QImage& image, const QString& path, const char* format) {
    QImageWriter writer(path, format);
    ASSERT_TRUE(writer.write(image)) << format << writer.errorString().toStdString();
}

} // namespace

TEST(PageImage, LoadsEveryPageFormatByContent) {
    TempDir dir;
    struct Case {
        const char* name;
        const char* format;
    };
    // Names deliberately disagree with the contents: a scanner folder cannot be trusted.
    const Case cases[] = {
        {"jpeg.png", "JPEG"}, {"png.jpg", "PNG"}, {"bmp.tif", "BMP"}, {"tiff.bmp", "TIFF"}};
    for (const Case& c : cases) {
        save(colourPage(), dir.file(c.name), c.format);
        const QImage image = loadPageImage(dir.file(c.name));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.size(), QSize(120, 90)) << c.name;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << c.name;
        EXPECT_LT(qGray(image.pixel(60, 45)), 80) << c.name;
    }
}

TEST(PageImage, JpegUsesTheDecodingHint) {
    TempDir dir;
    writeFile(dir.file("scan.jpg"), encodeJpeg(QImage(colourPage()).scaled(800, 600), 80));
    EXPECT_EQ(loadPageImage(dir.file("scan.jpg"), QSize(150, 100)).size(), QSize(200, 150));
    EXPECT_EQ(loadPageImage(dir.file("scan.jpg")).size(), QSize(800, 600));
}

TEST(PageImage, OneBitScansBecomeGreyAndTransparencyBecomesPaper) {
    TempDir dir;
    QImage mono = colourPage().convertToFormat(QImage::Format_Mono);
    save(mono, dir.file("fax.tif"), "TIFF");
    const QImage grey = loadPageImage(dir.file("fax.tif"));
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(grey.pixel(60, 45)), 0);
    EXPECT_EQ(qGray(grey.pixel(60, 10)), 255);

    QImage clear(30, 20, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    save(clear, dir.file("clear.png"), "PNG");
    EXPECT_EQ(loadPageImage(dir.file("clear.png")).pixel(3, 3), qRgb(255, 255, 255));
}

TEST(PageImage, MissingOrUnreadableFilesGiveANullImage) {
    TempDir dir;
    writeFile(dir.file("text.jpg"), "this is not a picture");
    writeFile(dir.file("empty.png"), QByteArray());
    writeFile(dir.file("broken.jpg"), QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10));
    for (const char* name : {"missing.jpg", "text.jpg", "empty.png", "broken.jpg"})
        EXPECT_TRUE(loadPageImage(dir.file(name)).isNull()) << name;
}
