#include "index/IndexTableModel.h"
#include "IndexFixture.h"

#include <QSignalSpy>

namespace {

class IndexTableModelTest : public IndexFixture {
protected:
    QModelIndex cell(int row, int column) const { return model.index(row, column); }
    QVariant shown(int row, int column) const { return model.data(cell(row, column)); }

    IndexTableModel model;
};

TEST_F(IndexTableModelTest, ResultsShowElevenCaptionedColumnsReadOnly) {
    EXPECT_FALSE(model.isActive());
    const QStringList captions = {"作成日",   "患者番号", "連番",   "患者氏名", "フリガナ", "性別",
                                  "生年月日", "郵便番号", "現住所", "電話番号", "携帯電話"};
    ASSERT_EQ(model.columnCount(), captions.size());
    for (int c = 0; c < captions.size(); ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), captions[c]);

    IndexRow row = volume(42, 3, QStringLiteral("山田"));
    row.keys[7] = QStringLiteral("090");
    model.setRows({row});
    EXPECT_TRUE(model.isActive());
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(shown(0, IndexTableModel::DateColumn).toString(), row.tovaneDate);
    EXPECT_EQ(shown(0, IndexTableModel::PatientColumn).toInt(), 42);
    EXPECT_EQ(shown(0, IndexTableModel::VolumeColumn).toInt(), 3);
    EXPECT_EQ(shown(0, IndexTableModel::FirstKeyColumn).toString(), QStringLiteral("山田"));
    EXPECT_EQ(shown(0, IndexTableModel::FirstKeyColumn + 7).toString(), QStringLiteral("090"));
    EXPECT_EQ(model.rowAt(0).fileName, row.fileName);
    EXPECT_FALSE(model.flags(cell(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(cell(0, 3), QStringLiteral("x")));
    EXPECT_FALSE(model.removeRows(0, 1));

    model.setRows({});
    EXPECT_TRUE(model.isActive()); // searched, nothing found
    model.clear();
    EXPECT_FALSE(model.isActive());
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(IndexTableModelTest, TableEditsAreWrittenCellByCell) {
    index.insertVolume(volume(1, 0, QStringLiteral("一")));
    index.insertVolume(volume(2, 0, QStringLiteral("二")));
    // A byte pair code page 932 does not define, as a file from elsewhere might hold; editing
    // other cells of the row must leave it as it is.
    index.database().exec("UPDATE PDF_PATH SET KEY2 = CAST(X'85FF41' AS TEXT) "
                          "WHERE TOVANENO = 1;");
    model.openTable(index);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.flags(cell(0, 0)) & Qt::ItemIsEditable);

    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::FirstKeyColumn), QString(30, u'名')));
    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::PatientColumn), QStringLiteral(" 7 ")));
    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::VolumeColumn), 9999));
    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::DateColumn), QStringLiteral("2020/1/1")));

    EXPECT_EQ(shown(0, IndexTableModel::FirstKeyColumn).toString(), QString(24, u'名'));
    const std::vector<IndexRow> stored = index.volumeRows(7, 9999);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].keys[0], QString(24, u'名'));
    EXPECT_EQ(stored[0].tovaneDate, QStringLiteral("2020/1/1"));
    EXPECT_EQ(stored[0].fileName, volume(1, 0).fileName);
    EXPECT_EQ(raw("SELECT hex(KEY2) AS V FROM PDF_PATH WHERE TOVANENO = 7;"), "85FF41");
    EXPECT_EQ(index.patientVolumes(2).at(0), volume(2, 0, QStringLiteral("二")));
}

TEST_F(IndexTableModelTest, TableRefusesNumbersOutOfRange) {
    index.insertVolume(volume(1, 2));
    model.openTable(index);
    const std::vector<std::pair<int, QVariant>> refused = {
        {IndexTableModel::PatientColumn, QStringLiteral("abc")},
        {IndexTableModel::PatientColumn, QStringLiteral("")},
        {IndexTableModel::PatientColumn, -1},
        {IndexTableModel::PatientColumn, 100000000},
        {IndexTableModel::PatientColumn, QStringLiteral("1.5")},
        {IndexTableModel::VolumeColumn, 10000},
    };
    for (const auto& [column, value] : refused)
        EXPECT_FALSE(model.setData(cell(0, column), value)) << value.toString().toStdString();
    EXPECT_EQ(index.allRows().at(0).patientNo, 1);
    EXPECT_EQ(index.allRows().at(0).volumeNo, 2);
    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::PatientColumn), 99999999));
    EXPECT_TRUE(model.setData(cell(0, IndexTableModel::VolumeColumn), 0));
    EXPECT_EQ(index.volumeRows(99999999, 0).size(), 1u);
}

TEST_F(IndexTableModelTest, TableRemovesAppendsAndRefreshes) {
    for (int p = 1; p <= 4; ++p)
        index.insertVolume(volume(p, 0));
    model.openTable(index);
    EXPECT_TRUE(model.removeRows(1, 2));
    EXPECT_EQ(patientsOf(index.allRows()), (std::vector<int>{1, 4}));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.rowAt(1).patientNo, 4);

    model.appendRow(volume(5, 1, QString(25, u'追')));
    EXPECT_EQ(model.rowAt(2).keys[0], QString(24, u'追'));
    index.insertVolume(volume(6, 0)); // written elsewhere; shown after a refresh
    model.refresh();
    EXPECT_EQ(patientsOf(std::vector<IndexRow>{model.rowAt(0), model.rowAt(1), model.rowAt(2),
                                               model.rowAt(3)}),
              (std::vector<int>{1, 4, 5, 6}));
    EXPECT_EQ(model.rowAt(2).rowId, index.allRows().at(2).rowId);
}

TEST_F(IndexTableModelTest, FailedWriteKeepsTheGridAndReportsIt) {
    index.insertVolume(volume(1, 0, QStringLiteral("元")));
    model.openTable(index);
    QSignalSpy failed(&model, &IndexTableModel::writeFailed);
    SqliteDatabase other(path(), SqliteDatabase::Mode::ReadWrite);
    other.exec("BEGIN EXCLUSIVE;");

    EXPECT_FALSE(model.setData(cell(0, IndexTableModel::FirstKeyColumn), QStringLiteral("新")));
    EXPECT_FALSE(model.removeRows(0, 1));
    other.exec("ROLLBACK;");

    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("database is locked"));
    EXPECT_EQ(shown(0, IndexTableModel::FirstKeyColumn).toString(), QStringLiteral("元"));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(index.allRows().at(0).keys[0], QStringLiteral("元"));
}

} // namespace
