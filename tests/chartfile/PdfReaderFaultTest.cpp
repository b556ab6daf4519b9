#include "PdfTestBuilder.h"

#include "chartfile/PdfError.h"
#include "chartfile/PdfStream.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Change = std::function<void(PdfTestBuilder&, ChartPdfFixture&)>;
using Post = std::function<QByteArray(QByteArray)>;

// The message of the first fault met while opening the bytes and selecting every page;
// empty when the file reads.
QString faultOf(const QByteArray& pdf) {
    try {
        TPdfStream stream;
        stream.OpenBytes(pdf);
        for (int i = 0; i < stream.PageCount(); ++i)
            stream.SelectPage(i);
        return {};
    } catch (const PdfError& e) {
        return e.message();
    }
}

// A message that ends in "@" stands for that text followed by a position of at least 8
// upper-case hexadecimal digits.
void expectMessage(const QString& actual, const QString& expected) {
    if (expected.endsWith(u'@')) {
        const QString prefix = expected.chopped(1);
        EXPECT_TRUE(actual.startsWith(prefix) &&
                    QRegularExpression(QStringLiteral("^[0-9A-F]{8,}$"))
                        .match(actual.mid(prefix.size()))
                        .hasMatch())
            << actual.toStdString();
    } else {
        EXPECT_EQ(actual, expected);
    }
}

QByteArray replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to) {
    EXPECT_TRUE(bytes.contains(from)) << from.toStdString();
    return bytes.replace(from, to);
}

struct FaultCase {
    const char* name;
    Change change;
    Post post;
    const char* message;
};

Change header(QByteArray text) {
    return [text](PdfTestBuilder& b, auto&) {
        b.header = text;
    };
}
Change tail(QByteArray text) {
    return [text](PdfTestBuilder& b, auto&) {
        b.tail = text;
    };
}
Change trailer(QByteArray text) {
    return [text](PdfTestBuilder& b, auto&) {
        b.trailer = text;
    };
}
Post raw(QByteArray from, QByteArray to) {
    return [from, to](QByteArray pdf) {
        return replaced(pdf, from, to);
    };
}
// Edits an object: `which` picks it from the fixture (page 1's parts unless told).
Change edit(std::function<int(ChartPdfFixture&)> which, QByteArray from, QByteArray to) {
    return [which, from, to](PdfTestBuilder& b, ChartPdfFixture& f) {
        b.edit(which(f), from, to);
    };
}
int catalog(ChartPdfFixture&) {
    return ChartPdfFixture::catalog;
}
int infoObject(ChartPdfFixture&) {
    return ChartPdfFixture::info;
}
int pagesNode(ChartPdfFixture&) {
    return ChartPdfFixture::pages;
}
int outlines(ChartPdfFixture&) {
    return ChartPdfFixture::outlines;
}
int page1(ChartPdfFixture& f) {
    return f.numbers[0].page;
}
int image1(ChartPdfFixture& f) {
    return f.numbers[0].image;
}
int annot1(ChartPdfFixture& f) {
    return f.numbers[0].annot;
}
int item1(ChartPdfFixture& f) {
    return f.numbers[0].item;
}
int item3(ChartPdfFixture& f) {
    return f.numbers[2].item;
}

const QByteArray kTrailerStart = "<<\r\n/Size 9\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n";

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class PdfReaderRefuses : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PdfReaderRefuses, WithItsMessage) {
    ChartPdfFixture f = threePageChart();
    QByteArray pdf = f.build(GetParam().change);
    if (GetParam().post)
        pdf = GetParam().post(pdf);
    expectMessage(faultOf(pdf), QString::fromUtf8(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    HeaderAndTail, PdfReaderRefuses,
    ::testing::Values(
        FaultCase{"NotPdf", header("%PDX-1.2 \r\n"), {}, "PDF FILE ERROR"},
        FaultCase{"Empty", {}, [](QByteArray) { return QByteArray(); }, "PDF FILE ERROR"},
        FaultCase{"Version18", header("%PDF-1.8 \r\n"), {}, "PDF VERSION NOT SUPPORT"},
        FaultCase{"Version20", header("%PDF-2.0 \r\n"), {}, "PDF VERSION NOT SUPPORT"},
        FaultCase{"NoObjectAfterHeader",
                  header("%PDF-1.2\r\n\r\n"),
                  {},
                  "PDF OBJ NO ERROR Address : 0000000B"},
        FaultCase{"NoGenerationAfterHeader",
                  header("%PDF-1.2 \r\n7 x obj\r\n1\r\nendobj\r\n"),
                  {},
                  "PDF GEN NO ERROR"},
        FaultCase{"NoObjKeywordAfterHeader",
                  header("%PDF-1.2 \r\n7 0 ojb\r\n1\r\nendobj\r\n"),
                  {},
                  "PDF OBJ NOT FOUND ERROR Address : 00000012"},
        FaultCase{
            "EofFollowedByTwoLineBreakPairs", tail("%%EOF\r\n\r\n"), {}, "PDF FILE EOF ERROR"},
        FaultCase{"EofFollowedBySpace", tail("%%EOF "), {}, "PDF FILE EOF ERROR"},
        FaultCase{"NoStartxref",
                  [](PdfTestBuilder& b, auto&) { b.startxrefLine = "startxrf\r\n9\r\n"; },
                  {},
                  "PDF STARTXREF ERROR"},
        FaultCase{"BlankBeforeTheOffset",
                  [](PdfTestBuilder& b, auto&) { b.startxrefLine = "startxref\r\n 9\r\n"; },
                  {},
                  "PDF LASTCROSSREF ERROR"},
        FaultCase{"OffsetOutOfRange",
                  [](PdfTestBuilder& b, auto&) {
                      b.startxrefLine = "startxref\r\n99999999999999999999\r\n";
                  },
                  {},
                  "PDF LASTCROSSREF ERROR"}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CrossReference, PdfReaderRefuses,
    ::testing::Values(
        FaultCase{"OffsetNotAtXref",
                  [](PdfTestBuilder& b, auto&) { b.startxrefLine = "startxref\r\n5\r\n"; },
                  {},
                  "PDF XREF ERROR"},
        FaultCase{"SubsectionWithoutFirstNumber",
                  {},
                  raw("\r\nxref\r\n0 ", "\r\nxref\r\nx "),
                  "PDF OBJ NO ERROR"},
        FaultCase{"SubsectionWithoutCount",
                  {},
                  raw("\r\nxref\r\n0 ", "\r\nxref\r\n0 x"),
                  "PDF GEN NO ERROR"},
        FaultCase{"EntryOffsetNotANumber",
                  {},
                  raw("0000000000 65535 f", "00000000x0 65535 f"),
                  "PDF XREF ENTRY OBJ NO ERROR"},
        FaultCase{"EntryGenerationNotANumber",
                  {},
                  raw("0000000000 65535 f", "0000000000 6553x f"),
                  "PDF XREF ENTRY GEN NO ERROR"},
        FaultCase{"EntryNeitherInUseNorFree",
                  {},
                  raw("0000000000 65535 f", "0000000000 65535 u"),
                  "PDF XREF ENTRY N/F ERROR"},
        FaultCase{"UnknownTrailerKeyOnTheClosingLine",
                  trailer(kTrailerStart + "/Custom 1 >>"),
                  {},
                  "PDF DICTIONARY ERROR"},
        FaultCase{"PrevOutOfRange",
                  trailer(kTrailerStart + "/Prev 99999999999999999999\r\n>>"),
                  {},
                  "PDF TRAILER PREV XREF ERROR"},
        FaultCase{"PrevBackToTheSameSection", trailer(kTrailerStart + "/Prev PREV\r\n>>"),
                  [](QByteArray pdf) {
                      const qsizetype xref = pdf.indexOf("\r\nxref\r\n") + 2;
                      return replaced(pdf, "/Prev PREV", "/Prev " + QByteArray::number(xref));
                  },
                  "PDF TRAILER PREV XREF ERROR"}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CatalogAndInformation, PdfReaderRefuses,
    ::testing::Values(FaultCase{"RootMissing",
                                trailer("<<\r\n/Size 9\r\n/Info 2 0 R\r\n>>"),
                                {},
                                "PDF OBJ FORMAT ERROR"},
                      FaultCase{"InfoMissing",
                                trailer("<<\r\n/Size 9\r\n/Root 1 0 R\r\n>>"),
                                {},
                                "PDF OBJ FORMAT ERROR"},
                      FaultCase{"RootNotListed",
                                [](PdfTestBuilder& b, auto&) { b.root = 999; },
                                {},
                                "PDF OBJ INDEX ERROR"},
                      FaultCase{"ObjectNumberDiffers",
                                {},
                                raw("\r\n1 0 obj\r\n", "\r\n9 0 obj\r\n"),
                                "SYSTEM OBJ UNMATCH ERROR"},
                      FaultCase{"GenerationDiffers",
                                {},
                                raw("\r\n1 0 obj\r\n", "\r\n1 1 obj\r\n"),
                                "SYSTEM GEN UNMATCH ERROR"},
                      FaultCase{"NoNumberAtTheOffset",
                                {},
                                raw("\r\n2 0 obj\r\n", "\r\nx 0 obj\r\n"),
                                "PDF OBJ NO ERROR Address : @"},
                      FaultCase{"NoObjAtTheOffset",
                                {},
                                raw("\r\n2 0 obj\r\n", "\r\n2 0 xxx\r\n"),
                                "PDF OBJ NOT FOUND ERROR Address : @"},
                      FaultCase{"CatalogNotADictionary",
                                [](PdfTestBuilder& b, auto&) { b.object(1) = "[1 0 R]"; },
                                {},
                                "PDF CATALOG DICTIONARY ERROR"},
                      FaultCase{"CatalogWithOCProperties",
                                edit(catalog, "/PageMode", "/OCProperties << >>\r\n/PageMode"),
                                {},
                                "PDF CATALOG KEY NOT SUPPORT"},
                      FaultCase{"CatalogValueOfAnotherForm",
                                edit(catalog, "/PageMode /UseOutlines", "/PageMode << /A 1 >>"),
                                {},
                                "PDF CATALOG PAGE ERROR"},
                      FaultCase{"InfoNotADictionary",
                                [](PdfTestBuilder& b, auto&) { b.object(2) = "(x)"; },
                                {},
                                "PDF INFO DICTIONARY ERROR"},
                      FaultCase{"InfoWithCustomKey",
                                edit(infoObject, "/Keywords", "/Custom (x)\r\n/Keywords"),
                                {},
                                "PDF INFO KEY NOT SUPPORT"},
                      FaultCase{"InfoDerailed",
                                edit(infoObject, "/Keywords (Wemba)", "/Keywords (Wemba) junk"),
                                {},
                                "PDF INFO OBJ ERROR"}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Outline, PdfReaderRefuses,
    ::testing::Values(FaultCase{"CatalogWithoutOutlines",
                                edit(catalog, "/Outlines 4 0 R\r\n", ""),
                                {},
                                "PDF OUTLINES ERROR"},
                      FaultCase{"OutlineOfAnotherType",
                                edit(outlines, "/Type /Outlines", "/Type /Outline"),
                                {},
                                "PDF OUTLINES ERROR"},
                      FaultCase{"OutlineWithoutCount",
                                edit(outlines, "/Count 2\r\n", ""),
                                {},
                                "PDF OUTLINES COUNT ERROR"},
                      FaultCase{"OutlineWithAnotherKey",
                                edit(outlines, "/Count", "/Custom 1\r\n/Count"),
                                {},
                                "PDF OUTLINE DICTIONARY ERROR"},
                      FaultCase{"ItemWithAnotherKey",
                                edit(item1, "/Count", "/Open 1\r\n/Count"),
                                {},
                                "PDF OUTLINE OBJ ERROR Address :@"},
                      FaultCase{"DestNotAReference",
                                edit(item3, "/Dest [", "/Dest [/XYZ "),
                                {},
                                "PDF OUTLINE DEST ERROR"},
                      FaultCase{"ItemWithoutDest",
                                [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                    b.edit(f.numbers[2].item,
                                           "/Dest [" + QByteArray::number(f.numbers[2].page) +
                                               " 0 R /XYZ 0 1000 1 ]\r\n",
                                           "");
                                },
                                {},
                                "PDF OUTLINE DEST ERROR"},
                      FaultCase{"NextChainBackToTheFirstItem",
                                [](PdfTestBuilder& b, ChartPdfFixture& f) {
                                    b.edit(f.numbers[2].item, "/Prev",
                                           "/Next " + QByteArray::number(f.numbers[0].item) +
                                               " 0 R\r\n/Prev");
                                },
                                {},
                                "PDF OUTLINE OBJ ERROR Address :@"}),
    [](const auto& p) { return std::string(p.param.name); });

QByteArray xobjects(int count, int image) {
    QByteArray entries;
    for (int i = 0; i < count; ++i)
        entries += "/Extra" + QByteArray::number(i) + " " + QByteArray::number(image) + " 0 R\r\n";
    return entries;
}

INSTANTIATE_TEST_SUITE_P(
    PagesAndImages, PdfReaderRefuses,
    ::testing::Values(
        FaultCase{"PageWithThumb",
                  edit(page1, "/Contents", "/Thumb 9 0 R\r\n/Contents"),
                  {},
                  "thumb 未サポート"},
        FaultCase{"PageWithMetadata",
                  edit(page1, "/Contents", "/Metadata 9 0 R\r\n/Contents"),
                  {},
                  "Metadata 未サポート"},
        FaultCase{"PageWithAnotherKey",
                  edit(page1, "/Contents", "/Custom 1\r\n/Contents"),
                  {},
                  "Pages Error Object Address : @"},
        FaultCase{"EmptyKids",
                  [](PdfTestBuilder& b, auto&) {
                      b.object(3) = "<<\r\n/Type /Pages\r\n/Kids []\r\n/Count 0\r\n>>";
                  },
                  {},
                  "PDF INDEX ARRAY ERROR"},
        FaultCase{"KidsElementReadsNothing",
                  edit(pagesNode, "/Kids [", "/Kids [(x) "),
                  {},
                  "PDF INDEX ARRAY ERROR"},
        FaultCase{"KidNeitherPagesNorPage",
                  edit(page1, "/Type /Page\r\n", "/Type /Leaf\r\n"),
                  {},
                  "PDF PAGE TYPE ERROR"},
        FaultCase{"TenPagesLevels",
                  [](PdfTestBuilder& b, ChartPdfFixture& f) {
                      int below = b.add("<<\r\n/Type /Pages\r\n/Kids [" +
                                        QByteArray::number(f.numbers[0].page) + " 0 R]\r\n>>");
                      for (int level = 9; level >= 2; --level)
                          below = b.add("<<\r\n/Type /Pages\r\n/Kids [" +
                                        QByteArray::number(below) + " 0 R]\r\n>>");
                      b.object(3) = "<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(below) +
                                    " 0 R]\r\n>>";
                  },
                  {},
                  "PDF STACK OVERFLOW ERROR"},
        FaultCase{"ResourcesReferenceTooShort",
                  edit(page1, "/Resources <<", "/Resources 1 R\r\n/Group <<"),
                  {},
                  "PDF PAGE RESOURCES ERROR Address : @"},
        FaultCase{"PageWithoutResources",
                  edit(page1, "/Resources <<", "/Group <<"),
                  {},
                  "PDF PAGE RESOURCE ERROR"},
        FaultCase{"ResourceWithAnotherKey",
                  edit(page1, "/ProcSet", "/Custom"),
                  {},
                  "PDF PAGE RESOURCE ERROR"},
        FaultCase{"InlineFontInVersion14", header("%PDF-1.4\r\n"), {}, "PDF PAGE RESOURCE ERROR"},
        FaultCase{"ResourcesWithoutXObject",
                  edit(page1, "/XObject <<", "/Pattern <<"),
                  {},
                  "PDF PAGE XOBJECT ERROR"},
        FaultCase{"TwentyXObjects",
                  [](PdfTestBuilder& b, ChartPdfFixture& f) {
                      b.edit(f.numbers[0].page, "/XObject <<\r\n",
                             "/XObject <<\r\n" + xobjects(19, f.numbers[0].image));
                  },
                  {},
                  "PDF PAGE XOBJECT ERROR"},
        FaultCase{"ImageNamesAFile",
                  edit(image1, "/Type", "/F (page.jpg)\r\n/Type"),
                  {},
                  "F KEYIS NO SURPORTED "},
        FaultCase{"ImageWithSoftMask",
                  edit(image1, "/Type", "/SMask 9 0 R\r\n/Type"),
                  {},
                  "SMasklnData KEYIS NO SURPORTED"},
        FaultCase{"ImageWithMetadata",
                  edit(image1, "/Type", "/Metadata 9 0 R\r\n/Type"),
                  {},
                  "Metadata KEYIS NO SURPORTED"},
        FaultCase{"LengthAsReference",
                  edit(image1, "/Length 300", "/Length 9 0 R"),
                  {},
                  "PDF EXTERNAL OBJECT ERROR @"},
        FaultCase{"ImageWithAnotherKey",
                  edit(image1, "/Type", "/Custom 1\r\n/Type"),
                  {},
                  "PDF EXTERNAL OBJECT ERROR @"},
        FaultCase{"ImageWithoutStreamKeyword",
                  edit(image1, ">>\r\nstream", ">>\r\nstreem"),
                  {},
                  "PDF EXTERNAL OBJECT ERROR @"},
        FaultCase{"LengthWithoutDigits",
                  edit(image1, "/Length 300", "/Length"),
                  {},
                  "'' is not a valid integer value"},
        FaultCase{"ImageRunsOffTheEnd",
                  edit(image1, "/Length 300", "/Length 99999"),
                  {},
                  "Stream read error"},
        FaultCase{
            "AnnotationNotADictionary",
            [](PdfTestBuilder& b, ChartPdfFixture& f) { b.object(f.numbers[0].annot) = "[1]"; },
            {},
            "PDF ANNOTATION DICTIONARY << ERROR"},
        FaultCase{"AnnotationWithPageReference",
                  edit(annot1, "/Contents", "/P 6 0 R\r\n/Contents"),
                  {},
                  "PDF ANNOTATION DICTIONARY ERROR"}),
    [](const auto& p) { return std::string(p.param.name); });

// The tail window: "startxref" may begin at most 50 bytes before the end of "%%EOF".
TEST(PdfReaderTail, StartxrefWithinFiftyBytesOfTheEnd) {
    for (const int distance : {50, 51}) {
        SCOPED_TRACE(distance);
        ChartPdfFixture f = threePageChart();
        QByteArray pdf = f.build();
        const qsizetype keyword = pdf.lastIndexOf("startxref");
        const qsizetype eof = pdf.lastIndexOf("%%EOF");
        const qsizetype pad = distance - (eof + 5 - keyword);
        ASSERT_GE(pad, 3);
        pdf.insert(eof, "%" + QByteArray(pad - 3, 'z') + "\r\n");
        EXPECT_EQ(faultOf(pdf), distance == 50 ? QString() : QStringLiteral("PDF STARTXREF ERROR"));
    }
}

} // namespace
