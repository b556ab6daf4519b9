#include "core/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, ConvertsWithTheWindowsMapping) {
    // Characters where code page 932 differs from plain Shift-JIS.
    EXPECT_EQ(toCp932(QStringLiteral("－")), QByteArray("\x81\x7C"));
    EXPECT_EQ(toCp932(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(toCp932(QStringLiteral("男性")), QByteArray("\x92\x6A\x90\xAB"));
    EXPECT_EQ(fromCp932(QByteArray("\x92\x6A\x90\xAB")), QStringLiteral("男性"));
    EXPECT_EQ(fromCp932(toCp932(QStringLiteral("ｱｲｳ abc 漢字"))), QStringLiteral("ｱｲｳ abc 漢字"));
}

TEST(Cp932, UnconvertibleCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(toCp932(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
}

TEST(Cp932, CutNeverSplitsADoubleByteCharacter) {
    const QByteArray name = toCp932(QString(30, QChar(0x3042))); // 30 × あ = 60 bytes
    EXPECT_EQ(cutToBytes(name, 48).size(), 48);
    EXPECT_EQ(cutToBytes(name, 47).size(), 46);
    EXPECT_EQ(cutToBytes("abc", 5), QByteArray("abc"));
    EXPECT_EQ(cutToBytes("abc", 0), QByteArray());
    EXPECT_EQ(cutTextToBytes(QStringLiteral("aあいう"), 4), QStringLiteral("aあ"));
    EXPECT_EQ(cp932Length(QStringLiteral("aあ")), 3);
}
