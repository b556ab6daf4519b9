#include "core/FileNames.h"
#include "core/DateTimeText.h"
#include "core/Workspace.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QDate kSaveDay(2011, 5, 6);

TEST(FileNames, VolumeAndSendNames) {
    const QDateTime at(kSaveDay, QTime(9, 5, 7));
    struct Row {
        QString got;
        const char* expected;
    };
    const Row rows[] = {
        {volumePdfName("1312345678", 1234, 0, true, "01", kSaveDay),
         "HP1312345678_1234_0_2011_5_6_01.pdf"},
        {volumePdfName("1312345678", 1234, 0, false, "01", kSaveDay), "HP1312345678_1234_0_01.pdf"},
        {volumePdfName("", 99999999, 9999, true, "0", QDate(2011, 12, 31)),
         "HP_99999999_9999_2011_12_31_0.pdf"},
        {sendPdfName(12, 3, "0", false, at), "ID_12_3_0.pdf"},
        {sendPdfName(1234, 0, "01", true, at), "ID_1234_0_01_2011_5_6_9_5_7.pdf"},
        {sendPdfName(5, 1, "9999", true, QDateTime(QDate(2011, 10, 12), QTime(23, 0, 59))),
         "ID_5_1_9999_2011_10_12_23_0_59.pdf"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, QString::fromUtf8(row.expected));
}

TEST(FileNames, StampAndDateTimeTextsUseTheJapaneseDefaults) {
    struct Row {
        QDateTime at;
        const char* text;
        const char* stamp;
    };
    const Row rows[] = {
        {QDateTime(kSaveDay, QTime(9, 5, 7)), "2011/05/06 9:05:07", "2011050690507"},
        {QDateTime(kSaveDay, QTime(9, 3, 7)), "2011/05/06 9:03:07", "2011050690307"},
        {QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59)), "2011/12/31 23:59:59",
         "20111231235959"},
        {QDateTime(QDate(2012, 1, 1), QTime(0, 0, 0)), "2012/01/01 0:00:00", "2012010100000"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(dateTimeText(row.at), QString::fromUtf8(row.text));
        EXPECT_EQ(activityLogStamp(row.at), QString::fromUtf8(row.stamp));
    }
    const Workspace ws{QStringLiteral("/opt/tovane")};
    EXPECT_EQ(ws.activityLogFile(QDateTime(kSaveDay, QTime(9, 5, 7))),
              QStringLiteral("/opt/tovane/Log/Log2011050690507.txt"));
}

TEST(Workspace, ProgramDirComesFromTheEnvironmentWithoutATrailingSeparator) {
    const QByteArray saved = qgetenv("TOVANE_PROGRAM_DIR");
    qputenv("TOVANE_PROGRAM_DIR", "/opt/tovane/");
    const Workspace ws = Workspace::current();
    qputenv("TOVANE_PROGRAM_DIR", "/");
    const QString root = programDir();
    qputenv("TOVANE_PROGRAM_DIR", "demo/./work/");
    const QString relative = programDir();
    if (saved.isNull())
        qunsetenv("TOVANE_PROGRAM_DIR");
    else
        qputenv("TOVANE_PROGRAM_DIR", saved);

    EXPECT_EQ(ws.programDir, QStringLiteral("/opt/tovane"));
    EXPECT_EQ(ws.scannerDir(), QStringLiteral("/opt/tovane/Scanner"));
    EXPECT_EQ(ws.indexFile(), QStringLiteral("/opt/tovane/Database/WembaTovaneDb.sqb"));
    EXPECT_EQ(ws.shioriFile(), QStringLiteral("/opt/tovane/Shiori.txt"));
    EXPECT_EQ(ws.helpFile(), QStringLiteral("/opt/tovane/TovaneFileLite.chm"));
    EXPECT_EQ(root, QString());
    EXPECT_EQ(relative, QDir::currentPath() + QStringLiteral("/demo/work"));
}

} // namespace
