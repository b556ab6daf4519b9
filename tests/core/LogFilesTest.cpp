#include "core/ActivityLog.h"
#include "core/Cp932.h"
#include "core/TextLines.h"

#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(TextLines, WriteThenReadBackInCodePage932WithCrLf) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("Shiori.txt"));
    struct Row {
        QStringList lines;
        QByteArray bytes;
    };
    const Row rows[] = {
        {{QStringLiteral("初診"), QString(), QStringLiteral("検査 －～")},
         toCp932(QStringLiteral("初診")) + "\r\n\r\n" + toCp932(QStringLiteral("検査 －～")) +
             "\r\n"},
        {{QStringLiteral("ｱｲｳ")}, "\xB1\xB2\xB3\r\n"},
        {{}, ""},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(writeCp932Lines(path, row.lines));
        EXPECT_EQ(readFile(path), row.bytes);
        EXPECT_EQ(readCp932Lines(path), row.lines);
    }
}

TEST(TextLines, ReadsEveryLineBreakAndMissingFiles) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("Comment.txt"));
    writeFile(path, "a\nb\r\nc\rd");
    EXPECT_EQ(readCp932Lines(path), (QStringList{"a", "b", "c", "d"}));
    EXPECT_TRUE(readCp932Lines(dir.file(QStringLiteral("none.txt"))).isEmpty());
    EXPECT_FALSE(writeCp932Lines(dir.file(QStringLiteral("no/such/folder.txt")), {"x"}));
}

class ActivityLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setClock([] { return QDateTime(QDate(2011, 5, 6), QTime(9, 3, 7)); });
    }
    TempDir dir;
    ActivityLog log;
};

TEST_F(ActivityLogTest, WritesTimedAndUntimedLines) {
    const QString path = dir.file(QStringLiteral("Log2011050690307.txt"));
    ASSERT_TRUE(log.open(path));
    const QString pdf = QStringLiteral("/charts/00/00/12/34/HP13_1234_0_01.pdf");
    EXPECT_TRUE(log.writeTimed(pdf + QStringLiteral(" : Pdf作成(New)")));
    EXPECT_TRUE(log.writeTimed(pdf + QStringLiteral(" : DBに記録")));
    EXPECT_TRUE(log.writeUntimed(pdf + QStringLiteral("を消去しました。")));
    // Every line is on disk while the file is still open.
    const QByteArray expected = toCp932(
        QStringLiteral("2011/05/06 9:03:07 ") + pdf + QStringLiteral(" : Pdf作成(New)\r\n") +
        QStringLiteral("2011/05/06 9:03:07 ") + pdf + QStringLiteral(" : DBに記録\r\n") + pdf +
        QStringLiteral("を消去しました。\r\n"));
    EXPECT_EQ(readFile(path), expected);
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(log.writeTimed(QStringLiteral("after close")));
    EXPECT_EQ(readFile(path), expected);
}

TEST_F(ActivityLogTest, ASecondStartInTheSameSecondKeepsTheFirstRunsLines) {
    const QString path = dir.file(QStringLiteral("Log2011050690307.txt"));
    writeFile(path, "earlier run\r\n");
    ASSERT_TRUE(log.open(path));
    log.writeUntimed(QStringLiteral("later run"));
    EXPECT_EQ(readFile(path), QByteArray("earlier run\r\nlater run\r\n"));
}

TEST_F(ActivityLogTest, OpenFailsWhereNoFileCanBeMade) {
    EXPECT_FALSE(log.open(dir.file(QStringLiteral("missing/Log1.txt"))));
    EXPECT_FALSE(log.isOpen());
}

} // namespace
