#include "PdfTestBuilder.h"

#include "chartfile/PdfError.h"
#include "chartfile/PdfStream.h"

#include <gtest/gtest.h>

namespace {

struct PageView {
    QString imageName;
    qint32 imageLength;
    QString note;
    QString bookmark;
};

std::vector<PageView> pagesOf(const QByteArray& pdf) {
    TPdfStream stream;
    stream.OpenBytes(pdf);
    std::vector<PageView> out;
    for (int i = 0; i < stream.PageCount(); ++i) {
        stream.SelectPage(i);
        out.push_back({stream.PageImageName(), stream.ImageLength(), stream.PageNote(),
                       stream.PageBookmark()});
    }
    return out;
}

TEST(PdfReader, ReadsTheChartLayoutPageByPage) {
    ChartPdfFixture f = threePageChart();
    const QByteArray pdf = f.build();
    TPdfStream stream;
    stream.OpenBytes(pdf);
    EXPECT_EQ(stream.Author(), QStringLiteral("Ｒ２．０"));
    EXPECT_EQ(stream.Subject(), QStringLiteral("ＬＩＴＥ"));
    ASSERT_EQ(stream.PageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        stream.SelectPage(i);
        const TestPage& page = f.pageList[size_t(i)];
        EXPECT_EQ(stream.PageImageName(), QStringLiteral("PRJpegImage1%1").arg(1000 + i));
        EXPECT_EQ(stream.ImageLength(), page.jpeg.size());
        EXPECT_EQ(stream.Image(), page.jpeg); // the bytes exactly as they stand in the file
        EXPECT_EQ(stream.PageNote(), page.note);
        // A bookmark of 70 characters comes back whole, not cut to 63.
        EXPECT_EQ(stream.PageBookmark(), page.bookmark);
    }
}

TEST(PdfReader, SelectPageClampsAndKeepsTheImageOfShortPages) {
    ChartPdfFixture f;
    f.pageList = {{fakeJpeg(120), {}, {}, {}}, {QByteArray("abc"), {}, {}, {}}};
    TPdfStream stream;
    stream.OpenBytes(f.build());
    stream.SelectPage(-1);
    EXPECT_EQ(stream.ImageLength(), 120);
    stream.SelectPage(2);
    EXPECT_EQ(stream.PageImageName(), QStringLiteral("PRJpegImage11001"));
    EXPECT_EQ(stream.ImageLength(), 3);
    EXPECT_EQ(stream.Image(), fakeJpeg(120)); // 3 bytes load nothing: the image stays
}

using Change = std::function<void(PdfTestBuilder&, ChartPdfFixture&)>;

struct AcceptCase {
    const char* name;
    Change change;
    // Image length, note and bookmark of each page; "*" keeps the fixture's value.
    std::vector<PageView> expected;
};

const PageView kPage1{QStringLiteral("PRJpegImage11000"), 300, QStringLiteral("初診\r所見あり\r"),
                      QStringLiteral("初診")};
const PageView kPage2{QStringLiteral("PRJpegImage11001"), 200, {}, {}};
const PageView kPage3{QStringLiteral("PRJpegImage11002"), 150, {}, QString(70, QChar(u'記'))};
const std::vector<PageView> kAsWritten{kPage1, kPage2, kPage3};

PageView with(PageView v, const char* field, QString value) {
    const std::string f(field);
    (f == "note" ? v.note : f == "bookmark" ? v.bookmark : v.imageName) = value;
    return v;
}

PageView noImage(PageView v) {
    v.imageLength = 0;
    return v;
}

// Rebuilds the page tree as Pages nodes below the root: root -> [A, page3], A -> [B], B -> [page1,
// page2].
void nestPages(PdfTestBuilder& b, ChartPdfFixture& f) {
    const QByteArray p1 = QByteArray::number(f.numbers[0].page),
                     p2 = QByteArray::number(f.numbers[1].page),
                     p3 = QByteArray::number(f.numbers[2].page);
    const int a = b.add("");
    const int bb = b.add("<<\r\n/Type /Pages\r\n/Parent " + QByteArray::number(a) +
                         " 0 R\r\n/Kids [" + p1 + " 0 R " + p2 + " 0 R ]\r\n/Count 2\r\n>>");
    b.object(a) = "<<\r\n/Type /Pages\r\n/Parent 3 0 R\r\n/Kids [" + QByteArray::number(bb) +
                  " 0 R]\r\n/Count 2\r\n>>";
    b.object(3) = "<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(a) + " 0 R " + p3 +
                  " 0 R ]\r\n/Count 3\r\n>>";
}

// A chain of `levels` Pages nodes from the root down to the three pages.
void deepPages(PdfTestBuilder& b, ChartPdfFixture& f, int levels) {
    QByteArray kids;
    for (const auto& n : f.numbers)
        kids += QByteArray::number(n.page) + " 0 R ";
    int below = 0;
    for (int level = levels; level >= 2; --level) {
        below = b.add("<<\r\n/Type /Pages\r\n/Kids [" +
                      (below ? QByteArray::number(below) + " 0 R" : kids) + "]\r\n>>");
    }
    b.object(3) = "<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(below) + " 0 R ]\r\n>>";
}

// A 1.4 file carries its fonts as a reference to a dictionary.
void fontsAsReferences(PdfTestBuilder& b, ChartPdfFixture& f) {
    const int fonts = b.add("<<\r\n/F0 5 0 R\r\n>>");
    for (const auto& n : f.numbers)
        b.edit(n.page, "/Font <<\r\n/F0 5 0 R\r\n>>",
               "/Font " + QByteArray::number(fonts) + " 0 R");
}

void PrintTo(const AcceptCase& c, std::ostream* os) {
    *os << c.name;
}

class PdfReaderAccepts : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(PdfReaderAccepts, ReadsThePagesExpected) {
    ChartPdfFixture f = threePageChart();
    QByteArray pdf;
    try {
        pdf = f.build(GetParam().change);
        const std::vector<PageView> pages = pagesOf(pdf);
        ASSERT_EQ(pages.size(), GetParam().expected.size());
        for (size_t i = 0; i < pages.size(); ++i) {
            SCOPED_TRACE(i);
            const PageView& want = GetParam().expected[i];
            EXPECT_EQ(pages[i].imageName, want.imageName);
            EXPECT_EQ(pages[i].imageLength, want.imageLength);
            EXPECT_EQ(pages[i].note, want.note);
            EXPECT_EQ(pages[i].bookmark, want.bookmark);
        }
    } catch (const PdfError& e) {
        FAIL() << e.what() << "\n" << pdf.left(4000).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, PdfReaderAccepts,
    ::
        testing::Values(AcceptCase{"AsWritten", {}, kAsWritten},
                        AcceptCase{"EofAlone", [](PdfTestBuilder& b, auto&) { b.tail = "%%EOF"; },
                                   kAsWritten},
                        AcceptCase{"EofLf", [](PdfTestBuilder& b, auto&) { b.tail = "%%EOF\n"; },
                                   kAsWritten},
                        AcceptCase{"EofLfCr",
                                   [](PdfTestBuilder& b, auto&) { b.tail = "%%EOF\n\r"; },
                                   kAsWritten},
                        AcceptCase{"Version10NeedsNoObjectAfterHeader",
                                   [](PdfTestBuilder& b, auto&) { b.header = "%PDF-1.0\r\n\r\n"; },
                                   kAsWritten},
                        AcceptCase{"Version14WithBinaryCommentLine",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.header = "%PDF-1.4\r\n%\xE2\xE3\xCF\xD3\r\n";
                                       fontsAsReferences(b, f);
                                   },
                                   kAsWritten},
                        AcceptCase{
                            "LinearizedFirstObject",
                            [](PdfTestBuilder& b, auto&) {
                                b.header =
                                    "%PDF-1.2 \r\n99 0 obj\r\n<< /Linearized 1 /L 999 /H [ 10 20 ] "
                                    "/O 6 /E 9 /N 3 /T 99 >>\r\nendobj\r\n";
                            },
                            kAsWritten},
                        AcceptCase{"TrailerOnTheTrailerLine",
                                   [](PdfTestBuilder& b, auto&) {
                                       b.trailer = "<< /Size 99 /Root 1 0 R /Info 2 0 R >>";
                                   },
                                   kAsWritten},
                        AcceptCase{"TrailerWithUnknownKeyOnItsOwnLine",
                                   [](PdfTestBuilder& b, auto&) {
                                       b.trailer =
                                           "<<\r\n/Size 99\r\n/Custom [1 2 3]\r\n/ID [<AB><CD>]\r\n"
                                           "/Root 1 0 R\r\n/Info 2 0 R\r\n>>";
                                   },
                                   kAsWritten},
                        AcceptCase{
                            "OutlineCountZeroWithoutItems",
                            [](PdfTestBuilder& b, auto&) {
                                b.object(4) = "<<\r\n/Type /Outlines\r\n/Count 0\r\n>>";
                            },
                            {with(kPage1, "bookmark", {}), kPage2, with(kPage3, "bookmark", {})}},
                        AcceptCase{"FirstOfTwoItemsForOnePageWins",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.edit(f.numbers[2].item,
                                              "/Dest [" + QByteArray::number(f.numbers[2].page),
                                              "/Dest [" + QByteArray::number(f.numbers[0].page));
                                   },
                                   {kPage1, kPage2, with(kPage3, "bookmark", {})}},
                        AcceptCase{"ItemBelowAnotherIsNotSearched",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       // Only the first item stays at the top level; the second
                                       // hangs below it.
                                       b.edit(f.numbers[0].item, "/Next", "/First");
                                       b.edit(4, "/Count 2", "/Count 1");
                                   },
                                   {kPage1, kPage2, with(kPage3, "bookmark", {})}},
                        AcceptCase{"NestedPageTreeDepthFirst", nestPages, kAsWritten},
                        AcceptCase{
                            "NinePagesLevels",
                            [](PdfTestBuilder& b, ChartPdfFixture& f) { deepPages(b, f, 9); },
                            kAsWritten},
                        AcceptCase{"FirstXObjectIsAForm",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.edit(f.numbers[1].image, "/Subtype /Image",
                                              "/Subtype /Form");
                                   },
                                   {kPage1, noImage(kPage2), kPage3}},
                        AcceptCase{"EmptyXObjectDictionary",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.edit(f.numbers[1].page,
                                              "/PRJpegImage11001 " +
                                                  QByteArray::number(f.numbers[1].image) +
                                                  " 0 R\r\n",
                                              "");
                                   },
                                   {kPage1, noImage(with(kPage2, "name", {})), kPage3}},
                        AcceptCase{
                            "OnlyTheFirstOfTwoImages",
                            [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                b.edit(f.numbers[0].page, "/XObject <<\r\n",
                                       "/XObject <<\r\n/PRJpegImage11001 " +
                                           QByteArray::number(f.numbers[1].image) + " 0 R\r\n");
                            },
                            {with(with(kPage2, "note", kPage1.note), "bookmark", kPage1.bookmark),
                             kPage2, kPage3}},
                        AcceptCase{"EmptyAnnotsAndLinkAnnotation",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.edit(f.numbers[0].annot, "/Subtype /Text",
                                              "/Subtype /Link");
                                       b.edit(f.numbers[1].page, "/Contents",
                                              "/Annots []\r\n/Contents");
                                   },
                                   {with(kPage1, "note", {}), kPage2, kPage3}},
                        AcceptCase{"ResourcesAsReference",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       QByteArray& page = b.object(f.numbers[0].page);
                                       const qsizetype from = page.indexOf("<<\r\n/Font");
                                       const qsizetype to = page.indexOf("/Contents");
                                       const int res = b.add(page.mid(from, to - from - 2));
                                       b.object(f.numbers[0].page)
                                           .replace(from, to - from - 2,
                                                    QByteArray::number(res) + " 0 R");
                                   },
                                   kAsWritten},
                        AcceptCase{"Version14FontAsReference",
                                   [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                       b.header = "%PDF-1.4\r\n";
                                       fontsAsReferences(b, f);
                                   },
                                   kAsWritten},
                        AcceptCase{"EntryLinesEndingInSpaceLf",
                                   [](PdfTestBuilder& b, auto&) { b.entryEnd = " \n"; },
                                   kAsWritten},
                        AcceptCase{"EntryLinesEndingInLf",
                                   [](PdfTestBuilder& b, auto&) { b.entryEnd = "\n"; },
                                   kAsWritten}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace

namespace {

// Appends an update to a PDF: objects at the end, a cross-reference section listing
// `entries` (object number -> line without its offset when the object is appended) and a
// trailer whose Prev is the older section.
QByteArray appendUpdate(const QByteArray& pdf, const QByteArray& object2,
                        const QByteArray& entry2) {
    QByteArray out = pdf;
    const qint64 previous =
        pdf.mid(pdf.lastIndexOf("startxref") + 11).trimmed().split('\r').first().toLongLong();
    const qint64 objectOffset = out.size();
    if (!object2.isEmpty())
        out += "2 0 obj\r\n" + object2 + "\r\nendobj\r\n";
    const qint64 xref = out.size();
    out += "xref\r\n2 1\r\n" +
           (entry2.isEmpty() ? QByteArray::number(objectOffset).rightJustified(10, '0') + " 00000 n"
                             : entry2) +
           "\r\ntrailer\r\n<<\r\n/Size 99\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n/Prev " +
           QByteArray::number(previous) + "\r\n>>\r\nstartxref\r\n" + QByteArray::number(xref) +
           "\r\n%%EOF\r\n";
    return out;
}

TEST(PdfReaderSections, NewestSectionWinsAndFreeEntriesFallBackToOlderOnes) {
    ChartPdfFixture f = threePageChart();
    f.author = QStringLiteral("older");
    const QByteArray base = f.build();
    const QByteArray newer = "<<\r\n/Author " + pdfTestText(QStringLiteral("Ｒ２．０")) + "\r\n>>";
    struct Case {
        QByteArray pdf;
        QString author;
    } cases[] = {
        {appendUpdate(base, newer, {}), QStringLiteral("Ｒ２．０")},
        {appendUpdate(base, {}, "0000000000 00000 f"), QStringLiteral("older")},
        {appendUpdate(appendUpdate(base, {}, "0000000000 00000 f"), newer, {}),
         QStringLiteral("Ｒ２．０")},
    };
    for (const Case& c : cases) {
        TPdfStream stream;
        stream.OpenBytes(c.pdf);
        EXPECT_EQ(stream.Author(), c.author);
        EXPECT_EQ(stream.PageCount(), 3);
    }
}

} // namespace
