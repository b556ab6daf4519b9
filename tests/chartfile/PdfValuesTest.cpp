#include "PdfTestBuilder.h"

#include "chartfile/PdfValues.h"

#include <gtest/gtest.h>

namespace {

struct StringCase {
    QByteArray bytes;
    QString text;
    const char* rest; // what the position is left at
};

TEST(PdfValues, StringsReadAsTheirText) {
    const QByteArray prefix = "<FEFF001B656E001B";
    const std::vector<StringCase> cases = {
        {"(abc)\r\n", QStringLiteral("abc"), "\r\n"},
        {"  (x) /Next", QStringLiteral("x"), " /Next"},
        {"(a(b)c)>>", QStringLiteral("a(b)c"), ">>"},
        {"(a\\)b)", QStringLiteral("a)b"), ""},
        {"(a\\nb\\\\c\\101)", QStringLiteral("a\nb\\cA"), ""},
        {"(a<b>c)", QStringLiteral("a<b>c"), ""},
        {"(\x93\xfa\x96\x7b)", QStringLiteral("日本"), ""},
        {"(a\r\nb)", QString(), "\nb)"},     // a raw line break ends with nothing
        {"(a\\\r\nb)", QString(), "\r\nb)"}, // so does an escaped one
        {"/Name\r\n", QString(), "\n"},      // no string before the line break
        {prefix + "65E5672C>\r\n", QStringLiteral("日本"), "\r\n"},
        {prefix + "65E5672c>", QStringLiteral("日"), ""}, // ends at the first lower-case digit
        {prefix + "65E5672>", QStringLiteral("日"), ""},  // an unpaired byte is dropped
        {"<FEFF001B656E>", QString(), ""},
        {prefix + "D83DDE00>", QStringLiteral("?"), ""}, // no code page 932 character
        {prefix + "0041000000420043>", QStringLiteral("A"), ""},
        {pdfTestUnicode(QString(64, QChar(u'あ'))), QString(64, QChar(u'あ')), ""},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        PdfSource source(c.bytes);
        EXPECT_EQ(readPdfString(source), c.text);
        EXPECT_EQ(c.bytes.mid(source.pos()), QByteArray(c.rest));
    }
}

TEST(PdfValues, ReferencesAndIntegers) {
    EXPECT_EQ(parseReference("12 0 R"), (ObjectId{12, 0}));
    EXPECT_EQ(parseReference("7   3 R"), (ObjectId{7, 3}));
    EXPECT_EQ(parseReference("7 3"), (ObjectId{7, 3}));
    for (const char* bad : {"", "R", " 1 0 R", "1 R", "1", "99999999999 0 R"})
        EXPECT_FALSE(parseReference(bad)) << bad;

    EXPECT_EQ(parsePdfInt64("0000012345"), 12345);
    EXPECT_EQ(parsePdfInt64(" -42"), -42);
    for (const char* bad : {"", " ", "12 ", "1x", "+", "99999999999999999999"})
        EXPECT_FALSE(parsePdfInt64(bad)) << bad;
    EXPECT_FALSE(parsePdfInt32("2147483648"));
}

TEST(PdfValues, TokenReadersStopWhereTheyShould) {
    PdfSource s("/Type /Pages\r\n/Kids [1 0 R 2 0 R]/Count 2 \r\n<< /A << /B 1 >> >>x[a [b] c]y");
    EXPECT_EQ(s.readByte(), '/');
    EXPECT_EQ(s.readKey(), QByteArray("Type"));
    s.skipBlanks();
    EXPECT_EQ(s.readName(), QByteArray("Pages"));
    s.skipBlanks(); // stops after the CR
    s.skipLineBreak();
    EXPECT_EQ(s.readByte(), '/');
    EXPECT_EQ(s.readKey(), QByteArray("Kids"));
    s.skipBlanks();
    const qint64 afterBracket = s.skipArray();
    EXPECT_EQ(s.readByte(), '/');
    EXPECT_EQ(s.readKey(), QByteArray("Count"));
    s.skipBlanks();
    EXPECT_EQ(s.readToken(), QByteArray("2 ")); // spaces belong to a token
    s.skipLineBreak();
    const qint64 dictionary = s.pos();
    EXPECT_EQ(s.skipDictionary(), dictionary);
    EXPECT_EQ(s.readByte(), 'x');
    EXPECT_EQ(s.readArrayText(), QByteArray("[a [b] c]"));
    EXPECT_EQ(s.readByte(), 'y');

    s.seek(afterBracket);
    EXPECT_EQ(s.readReference(), QByteArray("1 0 R"));
    EXPECT_EQ(s.readReference(), QByteArray("2 0 R"));
    EXPECT_EQ(s.readReference(), QByteArray()); // stops at "]"
}

} // namespace
