#include "core/SettingsFile.h"
#include "core/Cp932.h"

#include "support/TempDir.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

QByteArray regedit4(const char* valueLines) {
    return QByteArray(
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20]\r\n") +
           valueLines + "\r\n";
}

TEST(SettingsFile, WritesRegedit4InCodePage932WithCrLf) {
    SettingsFile file;
    file.setText(QStringLiteral("Target"), QStringLiteral("C:\\Charts\\"));
    file.setNumber(QStringLiteral("Quality"), 80);
    file.setNumber(QStringLiteral("Minus"), -1);
    file.setText(QStringLiteral("HPName"), QStringLiteral("病院"));
    EXPECT_EQ(file.serialize(), regedit4("\"Target\"=\"C:\\\\Charts\\\\\"\r\n"
                                         "\"Quality\"=dword:00000050\r\n"
                                         "\"Minus\"=dword:ffffffff\r\n"
                                         "\"HPName\"=\"\x95\x61\x89\x40\"\r\n"));
}

TEST(SettingsFile, TextsRoundTripThroughTheEscapes) {
    const QString texts[] = {
        QStringLiteral("C:\\"),
        QStringLiteral("a\"b\"c"),
        QStringLiteral("\\\\nas\\x\\"),
        QString(),
        QStringLiteral("end\\"),
        QStringLiteral("\\\""),
        QStringLiteral("ﾃｽﾄ 日本語"),
        QStringLiteral("/home/ü"),
        QStringLiteral(" lead and trail "),
    };
    for (const QString& text : texts) {
        SettingsFile out;
        out.setText(QStringLiteral("Name \"q\""), text);
        SettingsFile in;
        ASSERT_TRUE(in.parse(out.serialize()));
        EXPECT_EQ(in.text(QStringLiteral("Name \"q\"")), std::optional<QString>(text))
            << text.toStdString();
    }
}

TEST(SettingsFile, ATextBeyondCodePage932IsSavedInTheUnicodeForm) {
    SettingsFile out;
    out.setText(QStringLiteral("Target"), QStringLiteral("/home/user/カルテ😀/"));
    const QByteArray bytes = out.serialize();
    ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    EXPECT_TRUE(
        bytes.mid(2).startsWith(QByteArray(utf16(u"Windows Registry Editor Version 5.00\r\n"))));
    SettingsFile in;
    ASSERT_TRUE(in.parse(bytes));
    EXPECT_EQ(in.text(QStringLiteral("target")), QStringLiteral("/home/user/カルテ😀/"));
}

TEST(SettingsFile, ValuesKeepTheirStoredTypes) {
    struct Row {
        const char* line;
        SettingsFile::Type type;
        qint32 number;
        const char* text;
    };
    using T = SettingsFile::Type;
    const Row rows[] = {
        {"\"V\"=dword:0000000a", T::Number, 10, ""},
        {"\"V\"=DWORD:FFFFFFFE", T::Number, -2, ""},
        {"\"V\" = dword:1", T::Number, 1, ""},
        {"\"V\"=\"10\"", T::Text, 0, "10"},
        {"\"V\"=dword:123456789", T::Other, 0, ""},
        {"\"V\"=dword:xyz", T::Other, 0, ""},
        {"\"V\"=dword:", T::Other, 0, ""},
        {"\"V\"=\"open", T::Other, 0, ""},
        {"\"V\"=hex:01,02,\\\r\n  03", T::Other, 0, ""},
        {"\"V\"=hex(2):43,00,3a,00,00,00", T::Other, 0, ""},
    };
    for (const Row& row : rows) {
        SettingsFile file;
        ASSERT_TRUE(file.parse(regedit4(row.line))) << row.line;
        const SettingsFile::Value* v = file.find(QStringLiteral("V"));
        ASSERT_NE(v, nullptr) << row.line;
        EXPECT_EQ(v->type, row.type) << row.line;
        if (row.type == T::Number) {
            EXPECT_EQ(v->number, row.number) << row.line;
        }
        if (row.type == T::Text) {
            EXPECT_EQ(v->text, QString::fromUtf8(row.text)) << row.line;
        }
    }
}

TEST(SettingsFile, ReadsAWindowsExportAndKeepsWhatItDoesNotKnow) {
    const QString exported =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Nadrel\\Other]\r\n"
                       "\"Keep\"=\"me\"\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20]\r\n"
                       "\"HPName\"=\"医院\"\r\n"
                       "\"Blob\"=hex:01,02,\\\r\n"
                       "  03,04\r\n"
                       "\"Quality\"=dword:00000064\r\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    SettingsFile file;
    ASSERT_TRUE(file.parse(QByteArray("\xFF\xFE") + QByteArray(utf16(exported))));
    EXPECT_TRUE(file.hasKey());
    EXPECT_EQ(file.text(QStringLiteral("HPName")), QStringLiteral("医院"));
    EXPECT_EQ(file.number(QStringLiteral("Quality")), 100);
    EXPECT_FALSE(file.text(QStringLiteral("Quality")).has_value());

    file.setNumber(QStringLiteral("Quality"), 90);
    EXPECT_EQ(fromCp932(file.serialize()),
              QStringLiteral("REGEDIT4\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20]\r\n"
                             "\"HPName\"=\"医院\"\r\n"
                             "\"Blob\"=hex:01,02,03,04\r\n"
                             "\"Quality\"=dword:0000005a\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Nadrel\\Other]\r\n"
                             "\"Keep\"=\"me\"\r\n\r\n"));
}

TEST(SettingsFile, TellsMissingFilesKeysAndForeignTextApart) {
    TempDir dir;
    SettingsFile file;
    EXPECT_FALSE(file.load(dir.file(QStringLiteral("none.reg"))));
    EXPECT_FALSE(file.parse("[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20]\r\n"));
    EXPECT_FALSE(file.parse("just some text\n"));
    EXPECT_FALSE(file.parse(""));
    ASSERT_TRUE(file.parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Other]\n\"A\"=\"b\"\n"));
    EXPECT_FALSE(file.hasKey());
    EXPECT_EQ(file.find(QStringLiteral("A")), nullptr);
}

TEST(SettingsFile, SaveMakesTheFolderAndReplacesTheFileWhole) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("config/Nadrel/TovaneFileLite20.reg"));
    SettingsFile file;
    file.setText(QStringLiteral("A"), QStringLiteral("one"));
    ASSERT_TRUE(file.save(path));
    file.remove(QStringLiteral("A"));
    file.setNumber(QStringLiteral("B"), 2);
    ASSERT_TRUE(file.save(path));
    EXPECT_EQ(readFile(path), regedit4("\"B\"=dword:00000002\r\n"));
}

} // namespace
