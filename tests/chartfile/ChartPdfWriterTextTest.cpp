// Text strings, note contents, dates and image names of the chart PDF writer.
#include "ChartPdfWriterTestSupport.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/ChartPdfWriterPrepare.h"
#include "chartfile/PdfText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(PdfText, TextStringsAreLiteralUnlessTheyHoldADoubleByteCharacter) {
    struct Case {
        QString text;
        QByteArray written;
    };
    const Case cases[] = {
        {QStringLiteral("Wemba"), "(Wemba)"},
        {QString(), "()"},
        {QStringLiteral("a(b)c\\d"), "(a\\(b\\)c\\\\d)"},
        {QStringLiteral("\r\n\t\b\f"), "(\\r\\n\\t\\b\\f)"},
        // Half-width katakana are single bytes in code page 932: a literal of those bytes.
        {QStringLiteral("ｶﾙﾃ"), "(\xB6\xD9\xC3)"},
        {QStringLiteral("Ｒ２．０"), "<FEFF001B656E001BFF32FF12FF0EFF10>"},
        {QStringLiteral("A漢\r"), "<FEFF001B656E001B00416F22000D>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pdfTextString(c.text), c.written) << c.text.toStdString();
}

TEST(PdfText, NoteContentsEndEveryLineWithOneCr) {
    struct Case {
        QString note;
        QString contents;
    };
    const Case cases[] = {
        {QStringLiteral("one"), QStringLiteral("one\r")},
        {QStringLiteral("one\r\ntwo"), QStringLiteral("one\rtwo\r")},
        {QStringLiteral("one\ntwo\n"), QStringLiteral("one\rtwo\r")},
        {QStringLiteral("one\r\rtwo"), QStringLiteral("one\r\rtwo\r")},
        {QStringLiteral("1\r\n2\r\n3\r\n4"), QStringLiteral("1\r2\r3\r4\r")},
        {QStringLiteral("\r\n"), QStringLiteral("\r")},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(noteContents(c.note), c.contents) << c.note.toStdString();
}

TEST(PdfText, DatesAndNumbers) {
    EXPECT_EQ(FullWidthDate(QDate(2011, 5, 6)), QStringLiteral("２０１１／０５／０６"));
    EXPECT_EQ(fullWidthText(QStringLiteral("11.5.6 9:03")),
              QStringLiteral("１１．５．６０９：０３"));
    EXPECT_EQ(pdfDate(QDateTime(QDate(2026, 12, 1), QTime(23, 4, 5))), "D:20261201230405");
    EXPECT_EQ(pdfNumber(-271), "-271");
    EXPECT_EQ(pdfNumber(1234567890123LL), "1234567890123");
}

TEST(ChartPdfWriter, StretchFitsTheLayoutAreaWithTheSinglePrecisionScale) {
    struct Case {
        QSize source;
        QSize page;
    };
    const QSize layout(634, 934); // the default page of 700 x 1000
    const Case cases[] = {
        {{3000, 4000}, {634, 845}}, {{300, 400}, {633, 845}}, {{2480, 3508}, {633, 896}},
        {{2000, 3000}, {622, 933}}, {{634, 934}, {634, 934}}, {{10000, 1}, {634, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stretchedSize(c.source, layout), c.page) << c.source.width();
    EXPECT_EQ(cutOutSize({3000, 4000}, layout), QSize(634, 934));
    EXPECT_EQ(cutOutSize({300, 4000}, layout), QSize(300, 934));
    EXPECT_EQ(cutOutSize({300, 400}, layout), QSize(300, 400));
}

TEST(ChartPdfWriter, QualityIsHeldBetweenFiftyAndAHundred) {
    const std::pair<int, int> cases[] = {{30, 50},   {49, 50},   {50, 50},  {80, 80},
                                         {100, 100}, {120, 100}, {-1, 100}, {-80, 100}};
    for (auto [given, used] : cases)
        EXPECT_EQ(clampQuality(given), used) << given;
    TempDir dir;
    writeScan(dir.file("p.jpg"), QSize(400, 500));
    auto jpeg = [&](int quality) {
        return preparePageImage(dir.file("p.jpg"), QSize(634, 934), true, quality).jpeg;
    };
    EXPECT_EQ(jpeg(30), jpeg(50));
    EXPECT_EQ(jpeg(120), jpeg(100));
    EXPECT_EQ(jpeg(-5), jpeg(100));
    EXPECT_NE(jpeg(50), jpeg(100));
}

TEST(ChartPdfWriter, ImageNamesAreDrawnAgainUntilUnique) {
    TempDir dir;
    writeScan(dir.file("p.jpg"), QSize(100, 100));
    TPdfWriteForm writer;
    // 5, 5 (taken: drawn again), 65535 + 7 (taken modulo 65535: drawn again), 9.
    QList<quint32> draws = {5, 5, 65535 + 5, 65535 + 7, 9};
    writer.setRandomSource([&] { return draws.takeFirst(); });
    writer.BeginChart(dir.file("c.pdf"));
    writer.ImagePath = dir.file("p.jpg");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writer.AddPageImage());
    writer.EndChart();
    const QByteArray bytes = readFile(dir.file("c.pdf"));
    for (const char* name :
         {"/Name /PRJpegImage15\r\n", "/Name /PRJpegImage17\r\n", "/Name /PRJpegImage19\r\n"})
        EXPECT_TRUE(bytes.contains(name)) << name;

    // When every draw meets a name in use, the document cannot take another image.
    writer.setRandomSource([] { return 42u; });
    writer.BeginChart(dir.file("d.pdf"));
    ASSERT_TRUE(writer.AddPageImage());
    try {
        writer.AddPageImage();
        FAIL() << "no error";
    } catch (const ChartPdfWriterError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("image count over max value.."));
    }
}
