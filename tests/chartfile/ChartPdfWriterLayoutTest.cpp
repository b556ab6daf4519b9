// The bytes of the chart PDF layout that the readers of this program and of the other
// workstations rely on.
#include "ChartPdfWriterTestSupport.h"

#include "chartfile/ChartPdfWriterPages.h"
#include "chartfile/ChartPdfWriterPrepare.h"
#include "chartfile/PdfText.h"
#include "support/TempDir.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Three pages: a note of two lines and a bookmark on the first, nothing on the second, a
// Japanese note and bookmark on the third.
class ChartPdfLayout : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            writeScan(dir.file(QStringLiteral("p%1.jpg").arg(i)), QSize(620 + i, 877));
        makeRepeatable(writer);
        const QList<ChartPageInput> pages = {
            {dir.file("p0.jpg"), QStringLiteral("line one\r\nline (two)"),
             QStringLiteral("Intake")},
            {dir.file("p1.jpg"), QString(), QString()},
            {dir.file("p2.jpg"), QStringLiteral("所見あり"), QStringLiteral("検査結果")},
        };
        writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings(), pages,
                      QStringLiteral("1234567 テスト医院 2011/05/06 9:03:07"));
        pdf = std::make_unique<WrittenPdf>(dir.file("chart.pdf"));
    }

    TempDir dir;
    TPdfWriteForm writer;
    std::unique_ptr<WrittenPdf> pdf;
};

} // namespace

TEST_F(ChartPdfLayout, HeaderObjectsXrefAndTrailer) {
    const QByteArray& bytes = pdf->bytes();
    EXPECT_TRUE(bytes.startsWith("%PDF-1.2 \r\n1 0 obj\r\n<<\r\n"));
    ASSERT_GT(pdf->objectCount(), 7);
    // Every entry points at its own object, in number order, each ending in "endobj" CR LF.
    for (int n = 1; n <= pdf->objectCount(); ++n) {
        ASSERT_FALSE(pdf->object(n).isEmpty()) << n;
        if (n > 1) {
            EXPECT_GT(pdf->offset(n), pdf->offset(n - 1));
        }
    }
    const qsizetype xref = bytes.lastIndexOf("xref\r\n0 ");
    const QByteArray count = QByteArray::number(pdf->objectCount() + 1);
    ASSERT_EQ(bytes.mid(xref, 8 + count.size() + 2), "xref\r\n0 " + count + "\r\n");
    const qsizetype entries = xref + 8 + count.size() + 2;
    EXPECT_EQ(bytes.mid(entries, 20), "0000000000 00000 f\r\n");
    const QRegularExpression entry(QStringLiteral("^\\d{10} 00000 n\\r\\n$"));
    for (int n = 1; n <= pdf->objectCount(); ++n) {
        const QByteArray line = bytes.mid(entries + n * 20, 20);
        EXPECT_TRUE(entry.match(QString::fromLatin1(line)).hasMatch()) << line.constData();
        EXPECT_EQ(line.left(10).toLongLong(), pdf->offset(n));
    }
    const QByteArray tail = "trailer\r\n<<\r\n/Size " + count +
                            "\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n" +
                            QByteArray::number(xref) + "\r\n%%EOF\r\n";
    EXPECT_TRUE(bytes.endsWith(tail));
    EXPECT_EQ(bytes.indexOf("trailer"), entries + (pdf->objectCount() + 1) * 20);
}

TEST_F(ChartPdfLayout, CatalogInformationAndPageTree) {
    const QList<int> pages = pdf->pages();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pdf->object(1), "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/Outlines 4 0 R\r\n"
                              "/PageMode /UseOutlines\r\n/PageLayout /SinglePage\r\n"
                              "/OpenAction [" +
                                  QByteArray::number(pages.last()) + " 0 R /XYZ 0 1000 1 ]\r\n>>");
    EXPECT_EQ(pdf->object(2), "<<\r\n/Producer (PowerPdf version 0.9)\r\n"
                              "/Author <FEFF001B656E001BFF32FF12FF0EFF10>\r\n"
                              "/Subject <FEFF001B656E001BFF2CFF29FF34FF25>\r\n"
                              "/Title <FEFF001B656E001B30C830F430A130CD30D530A130A430EB>\r\n"
                              "/Keywords (Wemba)\r\n"
                              "/Creator <FEFF001B656E001BFF12FF10FF11FF11FF0FFF10FF15FF0FFF10FF16>"
                              "\r\n/CreationDate (D:20110506090307)\r\n"
                              "/ModDate (D:20110506090307)\r\n>>");
    EXPECT_EQ(pdf->object(3), "<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(pages[0]) +
                                  " 0 R " + QByteArray::number(pages[1]) + " 0 R " +
                                  QByteArray::number(pages[2]) + " 0 R ]\r\n/Count 3\r\n>>");
}

TEST_F(ChartPdfLayout, PageImageAndResources) {
    const QList<int> pages = pdf->pages();
    for (int i = 0; i < 3; ++i) {
        const QByteArray page = pdf->object(pages[i]);
        EXPECT_TRUE(page.startsWith("<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n"
                                    "/MediaBox [0 0 700 1000 ]\r\n/Resources <<\r\n"
                                    "/Font <<\r\n/F0 5 0 R\r\n>>\r\n/XObject <<\r\n/PRJpegImage1"));
        EXPECT_TRUE(page.contains(" 0 R\r\n>>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"));
        const qsizetype nameAt = page.indexOf("/PRJpegImage1");
        const QByteArray name = page.mid(nameAt + 1, page.indexOf(' ', nameAt) - nameAt - 1);
        const int image = WrittenPdf::reference(page.mid(nameAt + name.size() + 2).split('\r')[0]);
        const QByteArray dictionary = pdf->object(image);
        const QSize size = stretchedSize(QSize(620 + i, 877), QSize(634, 934));
        const QByteArray expected =
            "<<\r\n/Length " + QByteArray::number(pdf->streamData(image).size()) +
            "\r\n/Filter [/DCTDecode ]\r\n/Type /XObject\r\n"
            "/Subtype /Image\r\n/ColorSpace /DeviceRGB\r\n/Width " +
            QByteArray::number(size.width()) + "\r\n/Height " + QByteArray::number(size.height()) +
            "\r\n/BitsPerComponent 8\r\n/Name /" + name + "\r\n>>\r\nstream\r\n";
        EXPECT_TRUE(dictionary.startsWith(expected)) << dictionary.left(300).constData();
        EXPECT_TRUE(dictionary.endsWith("\nendstream"));
        // The stream is the page's JPEG file, byte for byte.
        EXPECT_EQ(
            pdf->streamData(image),
            preparePageImage(dir.file(QStringLiteral("p%1.jpg").arg(i)), QSize(634, 934), true, 80)
                .jpeg);
        EXPECT_EQ(page.contains("/Annots"), i != 1);
    }
}

TEST_F(ChartPdfLayout, NoteAnnotationsAndOutline) {
    const QList<int> pages = pdf->pages();
    const QByteArray note = pdf->object(WrittenPdf::reference(
        WrittenPdf::value(pdf->object(pages[0]), "Annots").mid(1).chopped(2)));
    // Type, Subtype, Rect, Contents and S only: the reader refuses any other key (Open).
    EXPECT_EQ(note, "<<\r\n/Type /Annot\r\n/Subtype /Text\r\n/Rect [673 873 773 903 ]\r\n"
                    "/Contents (line one\\rline \\(two\\)\\r)\r\n/S (PRAnnotation1)\r\n>>");
    const QByteArray japanese = pdf->object(WrittenPdf::reference(
        WrittenPdf::value(pdf->object(pages[2]), "Annots").mid(1).chopped(2)));
    EXPECT_TRUE(japanese.contains("/Contents <FEFF001B656E001B6240898B3042308A000D>\r\n"));

    EXPECT_EQ(pdf->object(4), "<<\r\n/Type /Outlines\r\n/Count 2\r\n/First " +
                                  QByteArray::number(pdf->objectCount() - 1) + " 0 R\r\n/Last " +
                                  QByteArray::number(pdf->objectCount()) + " 0 R\r\n>>");
    const QByteArray first = pdf->object(pdf->objectCount() - 1);
    const QByteArray second = pdf->object(pdf->objectCount());
    EXPECT_EQ(first, "<<\r\n/Count 0\r\n/Title (Intake)\r\n/Parent 4 0 R\r\n/Dest [" +
                         QByteArray::number(pages[0]) + " 0 R /XYZ 0 1000 1 ]\r\n/Next " +
                         QByteArray::number(pdf->objectCount()) + " 0 R\r\n>>");
    EXPECT_TRUE(second.contains("/Title <FEFF001B656E001B691C67FB7D50679C>\r\n"));
    EXPECT_TRUE(second.contains("/Dest [" + QByteArray::number(pages[2]) + " 0 R "));
    EXPECT_TRUE(second.contains("/Prev " + QByteArray::number(pdf->objectCount() - 1) + " 0 R"));
}

TEST(ChartPdfWriter, VolumeWithoutBookmarksHasAnOutlineOfCountZero) {
    TempDir dir;
    writeScan(dir.file("p.jpg"), QSize(300, 400));
    TPdfWriteForm writer;
    writeChartPdf(writer, dir.file("c.pdf"), ChartPdfSettings(), {{dir.file("p.jpg"), {}, {}}},
                  QString());
    EXPECT_EQ(WrittenPdf(dir.file("c.pdf")).object(4), "<<\r\n/Type /Outlines\r\n/Count 0\r\n>>");
}

TEST(ChartPdfWriter, SamePagesGiveTheSameBytesInAnyLocale) {
    TempDir dir;
    writeScan(dir.file("p.jpg"), QSize(500, 700));
    QByteArray previous;
    for (int run = 0; run < 2; ++run) {
        TPdfWriteForm writer;
        makeRepeatable(writer);
        writeChartPdf(writer, dir.file("c.pdf"), ChartPdfSettings{650, 900, true, 90},
                      {{dir.file("p.jpg"), QStringLiteral("1.5 cm"), QStringLiteral("2,5")}},
                      QStringLiteral("title 0.5"));
        const QByteArray bytes = readFile(dir.file("c.pdf"));
        if (run == 1) {
            EXPECT_EQ(bytes, previous);
        }
        previous = bytes;
    }
    // Numbers are plain integers whatever LC_ALL says (the tests run again under de_DE).
    EXPECT_TRUE(previous.contains("/MediaBox [0 0 650 900 ]"));
    EXPECT_TRUE(previous.contains("/Rect [673 773 773 803 ]"));
    EXPECT_TRUE(previous.contains("/F0 12 Tf\n33 850 Td\n"));
}
