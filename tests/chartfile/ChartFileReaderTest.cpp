#include "PdfTestBuilder.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

QString readError(const QString& path) {
    try {
        readChartPdfPages(path);
        return {};
    } catch (const PdfError& e) {
        return e.message();
    }
}

TEST(ChartFileReader, HandsOverPagesWithMoreThan100BytesOfImage) {
    TempDir dir;
    ChartPdfFixture f;
    f.pageList = {{fakeJpeg(101, 'a'), QStringLiteral("所見"), QStringLiteral("初診"), {}},
                  {fakeJpeg(100, 'b'), QStringLiteral("no"), QStringLiteral("no"), {}},
                  {fakeJpeg(4000, 'c'), {}, QStringLiteral("(c)"), "PRJpegImage154321"}};
    writeFile(dir.file("HP00000001_0000.pdf"), f.build());
    const QList<ChartPdfPage> pages = readChartPdfPages(dir.file("HP00000001_0000.pdf"));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].imageName, QStringLiteral("PRJpegImage11000"));
    EXPECT_EQ(pages[0].jpeg, f.pageList[0].jpeg);
    EXPECT_EQ(pages[0].note, QStringLiteral("所見"));
    EXPECT_EQ(pages[0].bookmark, QStringLiteral("初診"));
    EXPECT_EQ(pages[1].imageName, QStringLiteral("PRJpegImage154321"));
    EXPECT_EQ(pages[1].jpeg, f.pageList[2].jpeg);
    EXPECT_EQ(pages[1].note, QString());
    EXPECT_EQ(pages[1].bookmark, QStringLiteral("(c)"));
}

struct IdentityCase {
    QString author, subject;
    const char* message; // empty: accepted
};

TEST(ChartFileReader, RecognisesChartPdfsByAuthorAndSubject) {
    const QString r20 = QStringLiteral("Ｒ２．０"), lite = QStringLiteral("ＬＩＴＥ");
    const std::vector<IdentityCase> cases = {
        {r20, lite, ""},
        {QStringLiteral("  Ｒ２．０ "), QStringLiteral("\tＬＩＴＥ\r"), ""},
        {r20, QStringLiteral("LITE"), "Pdf is Not TovaneFile Lite"},
        {QStringLiteral("R2.0"), QStringLiteral("LITE"), "Pdf is Not TovaneFile"},
        {QStringLiteral("　Ｒ２．０"), lite, "Pdf is Not TovaneFile"}, // a full-width space stays
        {QString(), lite, "Pdf is Not TovaneFile"},
    };
    TempDir dir;
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.author.toStdString() + "/" + c.subject.toStdString());
        ChartPdfFixture f = threePageChart();
        f.author = c.author;
        f.subject = c.subject;
        writeFile(dir.file("chart.pdf"), f.build());
        EXPECT_EQ(readError(dir.file("chart.pdf")), QString::fromUtf8(c.message));
    }
}

TEST(ChartFileReader, ReaderFaultsComeBeforeTheIdentityCheck) {
    TempDir dir;
    ChartPdfFixture f = threePageChart();
    f.author = QStringLiteral("someone else");
    writeFile(dir.file("chart.pdf"), f.build([](PdfTestBuilder& b, auto&) {
        b.edit(ChartPdfFixture::outlines, "/Type /Outlines", "/Type /X");
    }));
    EXPECT_EQ(readError(dir.file("chart.pdf")), QStringLiteral("PDF OUTLINES ERROR"));
    EXPECT_TRUE(readError(dir.file("missing.pdf")).startsWith(QStringLiteral("Cannot open file")));
}

// Bookmarks come from one walk of the outline; an item without a destination fails only when
// the search for some page reaches it before that page's match.
TEST(ChartFileReader, ItemWithoutDestinationFailsOnlyWhenReached) {
    for (const bool everyPageMarked : {true, false}) {
        SCOPED_TRACE(everyPageMarked);
        ChartPdfFixture f = threePageChart();
        if (everyPageMarked)
            f.pageList[1].bookmark = QStringLiteral("二");
        const QByteArray pdf = f.build([](PdfTestBuilder& b, ChartPdfFixture& fx) {
            const int last = fx.numbers[2].item;
            const int extra =
                b.add("<<\r\n/Count 0\r\n/Title (no destination)\r\n/Parent 4 0 R\r\n>>");
            b.edit(last, "/Prev", "/Next " + QByteArray::number(extra) + " 0 R\r\n/Prev");
        });
        TPdfStream stream;
        if (everyPageMarked) {
            stream.OpenBytes(pdf);
            stream.SelectPage(1);
            EXPECT_EQ(stream.PageBookmark(), QStringLiteral("二"));
        } else {
            try {
                stream.OpenBytes(pdf);
                ADD_FAILURE() << "opened";
            } catch (const PdfError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("PDF OUTLINE DEST ERROR"));
            }
        }
    }
}

} // namespace
