#include "index/Sqlite.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = SqliteDatabase(path(), SqliteDatabase::Mode::ReadWriteCreate);
        db.exec("CREATE TABLE T (Name TEXT, N INTEGER);");
    }
    QString path() const { return dir.file(QStringLiteral("t.sqb")); }
    qint64 count() {
        SqliteStatement s(db, "SELECT count(*) AS C FROM T;");
        s.step();
        return s.integer("C");
    }

    TempDir dir;
    SqliteDatabase db;
};

TEST_F(SqliteTest, OpeningWithoutCreateNeverMakesTheFile) {
    const QString missing = dir.file(QStringLiteral("missing.sqb"));
    try {
        SqliteDatabase other(missing, SqliteDatabase::Mode::ReadWrite);
        FAIL() << "opened a missing file";
    } catch (const SqliteError& e) {
        EXPECT_EQ(e.code(), SQLITE_CANTOPEN);
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(SqliteTest, TextTravelsAsRawBytesAndColumnsAreFoundByName) {
    const QByteArray cp932("\x83\x5C\x83\x74\x83\x67 'x\" \x00z", 14); // not UTF-8, inner NUL
    SqliteStatement insert(db, "INSERT INTO T VALUES (?, ?);");
    insert.bind(1, cp932);
    insert.bind(2, qint64(99999999));
    insert.run();
    insert.reset();
    insert.bindNull(1);
    insert.bindNull(2);
    insert.run();

    SqliteStatement s(db, "SELECT * FROM T ORDER BY rowid;");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.text("name"), cp932);
    EXPECT_EQ(s.integer("N"), 99999999);
    EXPECT_FALSE(s.isNull("NAME"));
    ASSERT_TRUE(s.step());
    EXPECT_TRUE(s.isNull("Name"));
    EXPECT_EQ(s.text("Name"), QByteArray());
    EXPECT_EQ(s.integer("N"), 0);
    EXPECT_FALSE(s.step());
    EXPECT_FALSE(s.hasColumn("KEY1"));
    EXPECT_THROW(s.text("KEY1"), SqliteError);
}

TEST_F(SqliteTest, ErrorsCarrySqlitesMessage) {
    try {
        SqliteStatement s(db, "SELECT * FROM NOWHERE;");
        FAIL();
    } catch (const SqliteError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("no such table: NOWHERE"));
    }
    try {
        db.exec("INSERT INTO T VALUES (\"a\"\");");
        FAIL();
    } catch (const SqliteError& e) {
        EXPECT_EQ(e.code(), SQLITE_ERROR);
    }
    db.close();
    EXPECT_THROW(db.exec("SELECT 1;"), SqliteError);
}

TEST_F(SqliteTest, TransactionRollsBackUnlessCommitted) {
    {
        SqliteTransaction t(db);
        db.exec("INSERT INTO T VALUES ('kept', 1);");
        t.commit();
    }
    {
        SqliteTransaction t(db);
        db.exec("INSERT INTO T VALUES ('dropped', 2);");
    } // destructor rolls back
    {
        SqliteTransaction t(db);
        db.exec("INSERT INTO T VALUES ('dropped', 3);");
        t.rollback();
    }
    EXPECT_EQ(count(), 1);
    // The connection is back in auto-commit: a new transaction can begin.
    SqliteTransaction again(db);
    again.commit();
}

TEST_F(SqliteTest, LockedFileFailsAtOnceAndTheTransactionUndoesItsPart) {
    SqliteDatabase other(path(), SqliteDatabase::Mode::ReadWrite);
    other.exec("BEGIN EXCLUSIVE;");
    try {
        SqliteTransaction t(db);
        db.exec("INSERT INTO T VALUES ('x', 1);");
        t.commit();
        FAIL() << "wrote to a locked file";
    } catch (const SqliteError& e) {
        EXPECT_EQ(e.code(), SQLITE_BUSY);
        EXPECT_EQ(e.message(), QStringLiteral("database is locked"));
    }
    other.exec("ROLLBACK;");
    EXPECT_EQ(count(), 0);
}

} // namespace
