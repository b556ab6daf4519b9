// Every chart PDF the writer makes reads back through the program's own reader with the same
// image bytes, notes and bookmarks.
#include "ChartPdfWriterTestSupport.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/ChartPdfWriterPages.h"
#include "chartfile/ChartPdfWriterPrepare.h"
#include "chartfile/PdfText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct RoundTripPage {
    QString note;
    QString bookmark;
};

QString longText(const QString& unit, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += unit + QString::number(i % 10);
    return text;
}

} // namespace

TEST(ChartPdfRoundTrip, ImagesNotesAndBookmarksReadBack) {
    const QList<RoundTripPage> cases = {
        {QStringLiteral("one line"), QStringLiteral("Intake")},
        {QString(), QString()},
        {QStringLiteral("first\r\nsecond"), QString()},
        {QStringLiteral("1\n2\n3\n4\n"), QStringLiteral("検査結果")},
        {QStringLiteral("(brackets) and \\backslash\\ and\ttab"), QStringLiteral("a (b) \\c")},
        {QStringLiteral("ｶﾙﾃ ﾒﾓ"), QStringLiteral("ｼｵﾘ")},
        {QStringLiteral("経過良好\r\n次回 2011/05/20"), QStringLiteral("再診（２回目）")},
        // Several hundred characters, single-byte and double-byte.
        {longText(QStringLiteral("note text "), 60), longText(QStringLiteral("mark "), 40)},
        {longText(QStringLiteral("所見の記録、"), 80), longText(QStringLiteral("しおり"), 50)},
        {QStringLiteral("\r\n\r\n"), QStringLiteral("  spaced  ")},
    };
    TempDir dir;
    QList<ChartPageInput> pages;
    for (int i = 0; i < cases.size(); ++i) {
        const QString path = dir.file(QStringLiteral("%1.jpg").arg(i));
        writeScan(path, QSize(300 + 37 * i, 420));
        pages.append({path, cases[i].note, cases[i].bookmark});
    }
    TPdfWriteForm writer;
    writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings(), pages,
                  QStringLiteral("title"));

    const QList<ChartPdfPage> back = readChartPdfPages(dir.file("chart.pdf"));
    ASSERT_EQ(back.size(), cases.size());
    QStringList names;
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].jpeg,
                  preparePageImage(pages[i].imagePath, QSize(634, 934), true, 80).jpeg);
        // The note comes back with CR after every line, as the annotation holds it.
        EXPECT_EQ(back[i].note, noteContents(cases[i].note));
        EXPECT_EQ(back[i].bookmark, cases[i].bookmark);
        EXPECT_TRUE(back[i].imageName.startsWith(QStringLiteral("PRJpegImage1")));
        names << back[i].imageName;
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), cases.size());
}

TEST(ChartPdfRoundTrip, ASentPageIsAChartPdfOfOnePage) {
    TempDir dir;
    writeScan(dir.file("page.jpg"), QSize(2480, 3508));
    TPdfWriteForm writer;
    writeChartPdf(writer, dir.file("ID_send.pdf"), ChartPdfSettings{595, 842, true, 100},
                  {{dir.file("page.jpg"), QStringLiteral("送信"), QString()}},
                  QStringLiteral("0000001 医院 01 2011/05/06 9:03:07 00001234-0"));
    TPdfStream pdf;
    pdf.Open(dir.file("ID_send.pdf"));
    EXPECT_NO_THROW(checkChartPdf(pdf));
    ASSERT_EQ(pdf.PageCount(), 1);
    pdf.SelectPage(0);
    EXPECT_EQ(pdf.PageNote(), QStringLiteral("送信\r"));
    EXPECT_EQ(pdf.PageBookmark(), QString());
    EXPECT_EQ(pdf.ImageLength(), pdf.Image().size());
    EXPECT_EQ(stretchedSize(QSize(2480, 3508), QSize(529, 776)), QSize(529, 748));
}
