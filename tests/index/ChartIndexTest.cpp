#include "IndexFixture.h"
#include "core/Cp932.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace {

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

using ChartIndexTest = IndexFixture;

TEST_F(ChartIndexTest, PatientVolumesComeInNumericVolumeOrder) {
    for (int v : {2, 10, 1})
        index.insertVolume(volume(5, v));
    index.insertVolume(volume(50, 3));
    index.insertVolume(volume(0, 7));

    EXPECT_EQ(volumesOf(index.patientVolumes(5)), (std::vector<int>{1, 2, 10}));
    EXPECT_EQ(volumesOf(index.patientVolumes(0)), (std::vector<int>{7}));
    EXPECT_TRUE(index.patientVolumes(6).empty());
    EXPECT_EQ(sorted(volumesOf(index.patientRows(5))), (std::vector<int>{1, 2, 10}));

    const std::vector<IndexRow> rows = index.volumeRows(5, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], volume(5, 10));
    EXPECT_TRUE(index.volumeRows(5, 3).empty());
}

TEST_F(ChartIndexTest, NamesWithQuotesAndSqlAreStoredAndFoundUnchanged) {
    const QString names[] = {QStringLiteral("O'Brien"), QStringLiteral("山田\"太郎\""),
                             QStringLiteral("''"), QStringLiteral("a'); DROP TABLE PDF_PATH; --"),
                             QStringLiteral("\" OR \"\"=\"")};
    int patient = 1;
    for (const QString& name : names)
        index.insertVolume(volume(patient++, 0, name));

    patient = 1;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const std::vector<IndexRow> stored = index.patientVolumes(patient);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].keys[0], name);
        IndexKeys keys;
        keys[0] = name;
        const std::vector<IndexRow> found = index.searchKeys(keys);
        ASSERT_FALSE(found.empty());
        EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                                [&](const IndexRow& r) { return r.patientNo == patient; }));
        for (const IndexRow& r : found)
            EXPECT_TRUE(r.keys[0].contains(name));
        ++patient;
    }
    EXPECT_EQ(index.patientRange(0, 99999999).size(), std::size(names));
}

struct LimitCase {
    IndexColumn column;
    QString text;
    int storedBytes;
};

TEST_F(ChartIndexTest, TextsAreCutToTheirByteLimitsBetweenCharacters) {
    const std::vector<LimitCase> cases = {
        {IndexColumn::Key1, QString(30, QChar(u'山')), 48},       // 60 bytes: first 24 characters
        {IndexColumn::Key2, QString(47, 'a') + QChar(u'ア'), 47}, // straddling character dropped
        {IndexColumn::Key8, QString(48, '9'), 48},
        {IndexColumn::FileName, QString(40, QChar(u'カ')), 62}, // odd limit 63
        {IndexColumn::FilePath, QString(300, '\\'), 255},
        {IndexColumn::InetPath, QString(130, QChar(u'路')), 254},
        {IndexColumn::TovaneDate, QString(300, '1'), 300}, // no limit
    };
    int patient = 1;
    for (const LimitCase& c : cases) {
        IndexRow row = volume(patient, 0);
        switch (c.column) {
        case IndexColumn::FileName:
            row.fileName = c.text;
            break;
        case IndexColumn::FilePath:
            row.filePath = c.text;
            break;
        case IndexColumn::InetPath:
            row.inetPath = c.text;
            break;
        case IndexColumn::TovaneDate:
            row.tovaneDate = c.text;
            break;
        default:
            row.keys[size_t(int(c.column) - int(IndexColumn::Key1))] = c.text;
        }
        index.insertVolume(row);
        const std::string sql =
            std::string("SELECT length(CAST(") + columnName(c.column) +
            " AS BLOB)) AS V FROM PDF_PATH WHERE TOVANENO = " + std::to_string(patient) + ";";
        EXPECT_EQ(raw(sql.c_str()).toInt(), c.storedBytes) << columnName(c.column);
        ++patient;
    }
    const IndexRow first = index.patientVolumes(1).at(0);
    EXPECT_EQ(first.keys[0], QString(24, QChar(u'山')));

    // The update cuts the same way.
    IndexRow row = volume(1, 0);
    row.keys[5] = QString(25, QChar(u'住'));
    ASSERT_EQ(index.updateVolume(row), 1);
    EXPECT_EQ(index.patientVolumes(1).at(0).keys[5], QString(24, QChar(u'住')));
}

TEST_F(ChartIndexTest, StoresCodePage932BytesAndIntegers) {
    IndexRow row = volume(12345678, 9999, QStringLiteral("山田－太郎"));
    row.keys[2] = QStringLiteral("男性");
    index.insertVolume(row);

    EXPECT_EQ(raw("SELECT hex(KEY1) AS V FROM PDF_PATH;"),
              toCp932(QStringLiteral("山田－太郎")).toHex().toUpper());
    EXPECT_EQ(raw("SELECT hex(KEY1) AS V FROM PDF_PATH;"), QByteArray("8E529363817C91BE9859"));
    EXPECT_EQ(raw("SELECT hex(KEY3) AS V FROM PDF_PATH;"), QByteArray("926A90AB"));
    EXPECT_EQ(raw("SELECT typeof(TOVANENO) || ' ' || typeof(TOVANESUBNO) AS V FROM PDF_PATH;"),
              QByteArray("integer integer"));
    EXPECT_EQ(index.patientVolumes(12345678).at(0), row);
}

TEST_F(ChartIndexTest, UpdateChangesDateAndKeysOnlyAndAMissingPairNothing) {
    index.insertVolume(volume(7, 1, QStringLiteral("旧")));
    index.insertVolume(volume(7, 2, QStringLiteral("別")));

    IndexRow changed = volume(7, 1, QStringLiteral("新"));
    changed.tovaneDate = QStringLiteral("2024/01/02 10:11:12");
    changed.keys[7] = QStringLiteral("090-1234-5678");
    changed.filePath = QStringLiteral("\\elsewhere");
    changed.fileName = QStringLiteral("other.pdf");
    changed.inetPath = QStringLiteral("/elsewhere/other.pdf");
    EXPECT_EQ(index.updateVolume(changed), 1);

    IndexRow expected = volume(7, 1, QStringLiteral("新"));
    expected.tovaneDate = changed.tovaneDate;
    expected.keys[7] = changed.keys[7];
    EXPECT_EQ(index.volumeRows(7, 1).at(0), expected);
    EXPECT_EQ(index.volumeRows(7, 2).at(0), volume(7, 2, QStringLiteral("別")));

    const std::vector<IndexRow> before = index.allRows();
    EXPECT_EQ(index.updateVolume(volume(7, 3, QStringLiteral("無"))), 0);
    EXPECT_EQ(index.updateVolume(volume(8, 1, QStringLiteral("無"))), 0);
    EXPECT_EQ(index.allRows(), before);
}

TEST_F(ChartIndexTest, DeleteRemovesOnlyThatVolume) {
    for (int v : {0, 1})
        index.insertVolume(volume(3, v));
    index.insertVolume(volume(30, 1));
    index.deleteVolume(3, 1);
    index.deleteVolume(4, 0); // nothing there: no error
    EXPECT_EQ(volumesOf(index.patientVolumes(3)), (std::vector<int>{0}));
    EXPECT_EQ(volumesOf(index.patientVolumes(30)), (std::vector<int>{1}));
}

struct SearchCase {
    const char* what;
    std::vector<std::pair<int, QString>> keys; // key number 1..8, keyword
    std::vector<int> patients;
};

TEST_F(ChartIndexTest, KeywordSearchJoinsFilledFieldsWithAnd) {
    auto add = [&](int patient, IndexKeys keys) {
        IndexRow row = volume(patient, 0);
        row.keys = std::move(keys);
        index.insertVolume(row);
    };
    add(1, {"山田太郎", "ヤマダタロウ", "男性", "", "123-4567", "", "", "090-1111"});
    add(2, {"山田花子", "ヤマダハナコ", "女性", "", "", "", "", "090-2222"});
    add(3, {"田中", "タナカ", "女性", "", "123-4567", "", "", ""});
    add(4, {"", "ヂロウ", "", "", "", "Tokyo", "", ""});

    const std::vector<SearchCase> cases = {
        {"sex and mobile", {{3, "女性"}, {8, "090"}}, {2}},
        {"postcode and name", {{1, "山田"}, {5, "123"}}, {1}},
        {"one field matches anywhere", {{1, "山田"}}, {1, 2}},
        {"reading", {{2, "ダ"}}, {1, 2}},
        {"trail bytes do not fold", {{2, "ア"}}, {}},
        {"single-byte letters fold", {{6, "tokyo"}}, {4}},
        {"wildcard", {{5, "1_3"}}, {1, 3}},
        {"no match", {{1, "佐藤"}}, {}},
    };
    for (const SearchCase& c : cases) {
        IndexKeys keys;
        for (const auto& [n, word] : c.keys)
            keys[size_t(n - 1)] = word;
        EXPECT_EQ(sorted(patientsOf(index.searchKeys(keys))), c.patients) << c.what;
    }
    EXPECT_THROW(index.searchKeys(IndexKeys{}), std::invalid_argument);
}

TEST_F(ChartIndexTest, NumbersCompareAsNumbers) {
    for (int p : {1, 10, 2, 100, 0, 11})
        index.insertVolume(volume(p, 0));
    index.insertVolume(volume(1, 1));

    EXPECT_EQ(sorted(volumesOf(index.patientRange(1, 1))), (std::vector<int>{0, 1}));
    EXPECT_EQ(patientsOf(index.patientRange(1, 1)), (std::vector<int>{1, 1}));
    EXPECT_EQ(sorted(patientsOf(index.patientRange(2, 10))), (std::vector<int>{2, 10}));
    EXPECT_EQ(patientsOf(index.patientRange(5, 3)), std::vector<int>{});
    EXPECT_EQ(patientsOf(index.patientRows(10)), (std::vector<int>{10}));
}

TEST_F(ChartIndexTest, FileNameIsComparedExactly) {
    index.insertVolume(volume(1, 0));
    IndexRow odd = volume(2, 0);
    odd.fileName = QStringLiteral("HP'?.pdf");
    index.insertVolume(odd);

    EXPECT_EQ(index.rowsWithFileName(QStringLiteral("HP1_0.pdf")).size(), 1u);
    EXPECT_TRUE(index.rowsWithFileName(QStringLiteral("hp1_0.pdf")).empty());
    EXPECT_TRUE(index.rowsWithFileName(QStringLiteral("HP1_0.pd")).empty());
    EXPECT_TRUE(index.rowsWithFileName(QStringLiteral("HP%")).empty());
    EXPECT_EQ(index.rowsWithFileName(QStringLiteral("HP'?.pdf")).size(), 1u);
    // A name code page 932 cannot hold is not the stored "?" name.
    EXPECT_TRUE(index.rowsWithFileName(QString::fromUtf8("HP'\xF0\x9F\x98\x80.pdf")).empty());
}

TEST_F(ChartIndexTest, LockedIndexFailsAtOnceAndKeepsNoHalfRow) {
    index.insertVolume(volume(1, 0));
    SqliteDatabase other(path(), SqliteDatabase::Mode::ReadWrite);
    other.exec("BEGIN EXCLUSIVE;");
    auto expectBusy = [](auto&& statement, const char* what) {
        try {
            statement();
            ADD_FAILURE() << what << " ran on a locked file";
        } catch (const SqliteError& e) {
            EXPECT_EQ(e.code(), SQLITE_BUSY) << what;
            EXPECT_EQ(e.message(), QStringLiteral("database is locked")) << what;
        }
    };
    expectBusy([&] { index.patientVolumes(1); }, "lookup");
    expectBusy([&] { index.insertVolume(volume(2, 0)); }, "insert");
    expectBusy([&] { index.updateVolume(volume(1, 0, QStringLiteral("x"))); }, "update");
    expectBusy([&] { index.deleteVolume(1, 0); }, "delete");
    expectBusy([&] { index.vacuum(); }, "vacuum");
    other.exec("ROLLBACK;");

    EXPECT_EQ(index.allRows().size(), 1u);
    index.insertVolume(volume(2, 0)); // no transaction was left open
    EXPECT_EQ(index.patientRange(0, 99).size(), 2u);
}

TEST_F(ChartIndexTest, VacuumKeepsTheRows) {
    for (int p = 0; p < 50; ++p)
        index.insertVolume(volume(p, 0, QString(20, QChar(u'空'))));
    for (int p = 0; p < 49; ++p)
        index.deleteVolume(p, 0);
    const qint64 before = QFileInfo(path()).size();
    index.vacuum();
    EXPECT_LT(QFileInfo(path()).size(), before);
    EXPECT_EQ(patientsOf(index.allRows()), (std::vector<int>{49}));
}

TEST_F(ChartIndexTest, ClosedIndexRefusesStatements) {
    index.close();
    index.close();
    EXPECT_FALSE(index.isOpen());
    EXPECT_THROW(index.patientVolumes(1), SqliteError);
    EXPECT_THROW(index.insertVolume(volume(1, 0)), SqliteError);
    index.open(path());
    EXPECT_TRUE(index.isOpen());
}

TEST_F(ChartIndexTest, OpenRefusesWhatIsNoIndexAndCreatesNothing) {
    index.close();
    const QString missing = dir.file(QStringLiteral("missing.sqb"));
    const QString text = dir.file(QStringLiteral("text.sqb"));
    writeFile(text, QByteArray(4096, 'x'));
    const QString otherDb = dir.file(QStringLiteral("other.sqb"));
    SqliteDatabase(otherDb, SqliteDatabase::Mode::ReadWriteCreate).exec("CREATE TABLE X (A);");

    const std::vector<std::pair<QString, QString>> cases = {
        {missing, QStringLiteral("unable to open database file")},
        {text, QStringLiteral("file is not a database")},
        {otherDb, QStringLiteral("no such table: PDF_PATH")},
        {dir.path(), QStringLiteral("unable to open database file")},
    };
    for (const auto& [file, message] : cases) {
        try {
            index.open(file);
            ADD_FAILURE() << file.toStdString() << " opened";
        } catch (const SqliteError& e) {
            EXPECT_EQ(e.message(), message) << file.toStdString();
        }
        EXPECT_FALSE(index.isOpen());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(readFile(text), QByteArray(4096, 'x'));
}

TEST_F(ChartIndexTest, ReadsAFileWithUntypedAndExtraColumns) {
    // Files made elsewhere may declare no types, spell the table in other letter case and
    // carry further columns; rows are read by column name.
    index.close();
    const QString other = dir.file(QStringLiteral("windows.sqb"));
    {
        SqliteDatabase db(other, SqliteDatabase::Mode::ReadWriteCreate);
        db.exec("CREATE TABLE pdf_path (ID INTEGER PRIMARY KEY, KEY8, KEY7, KEY6, KEY5, KEY4,"
                " KEY3, KEY2, KEY1, FILENAME, INETPATH, FILEPATH, TOVANEDATE VARCHAR(20),"
                " TOVANESUBNO, TOVANENO, MEMO);"
                "INSERT INTO pdf_path (TOVANENO, TOVANESUBNO, KEY1, MEMO) VALUES (4, 10, 'a', 'm');"
                "INSERT INTO pdf_path (TOVANENO, TOVANESUBNO, KEY1) VALUES (4, 9, 'b');"
                "INSERT INTO pdf_path (TOVANENO, TOVANESUBNO, KEY1) VALUES (40, 1, 'c');");
    }
    index.open(other);
    const std::vector<IndexRow> rows = index.patientVolumes(4);
    EXPECT_EQ(volumesOf(rows), (std::vector<int>{9, 10}));
    EXPECT_EQ(rows.at(1).keys[0], QStringLiteral("a"));
    EXPECT_EQ(rows.at(1).fileName, QString());
    index.insertVolume(volume(4, 11, QStringLiteral("d")));
    EXPECT_EQ(volumesOf(index.patientVolumes(4)), (std::vector<int>{9, 10, 11}));
}

TEST(IndexFile, RefusesToReplaceAnExistingFile) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("WembaTovaneDb.sqb"));
    writeFile(path, "keep");
    EXPECT_THROW(createIndexFile(path), SqliteError);
    EXPECT_EQ(readFile(path), QByteArray("keep"));
    EXPECT_THROW(createIndexFile(dir.file(QStringLiteral("no/such/folder/x.sqb"))), SqliteError);
}

} // namespace
