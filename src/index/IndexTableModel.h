#pragma once
// The grid over index rows that the search and maintenance windows show, so that no window
// talks SQL itself.
//
// Eleven columns: "作成日" (TOVANEDATE), "患者番号" (TOVANENO), "連番" (TOVANESUBNO), then
// "患者氏名", "フリガナ", "性別", "生年月日", "郵便番号", "現住所", "電話番号", "携帯電話"
// (KEY1 to KEY8). A window that shows no keywords hides columns FirstKeyColumn and up.
//
// Two uses:
// - Results (search): setRows() with the rows of a statement; read-only. isActive() tells a
//   grid that was filled (perhaps with no rows) from one never filled or cleared.
// - Table (maintenance): openTable() loads all of PDF_PATH and makes the grid editable. Each
//   edited cell is written at once to its row (by row id), a removed row is deleted, and
//   appendRow() inserts one; SQLite commits every single statement. A failed write leaves the
//   grid as it was and emits writeFailed with SQLite's message; nothing throws out of the
//   model's Qt overrides.

#include "index/ChartIndex.h"
#include "index/IndexRow.h"

#include <QAbstractTableModel>
#include <vector>

class IndexTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DateColumn, PatientColumn, VolumeColumn, FirstKeyColumn, ColumnCount = 11 };

    explicit IndexTableModel(QObject* parent = nullptr);

    // Results: shows `rows`, read-only.
    void setRows(std::vector<IndexRow> rows);
    // Empties the grid and makes it inactive (also closes an open table).
    void clear();
    bool isActive() const { return active_; }
    const IndexRow& rowAt(int row) const { return rows_.at(size_t(row)); }

    // Table: shows every row of PDF_PATH of `index` (not owned, must outlive the model or
    // the next clear()/closeTable()) and makes the grid editable. Throws SqliteError when
    // the table cannot be read; the grid then stays empty and inactive.
    void openTable(ChartIndex& index);
    void closeTable() { clear(); }
    bool isTableOpen() const { return index_ != nullptr; }
    // Reads the table again (the refresh of the navigation bar). Throws SqliteError.
    void refresh();
    // Inserts `row` into the table and shows it at the end. Throws SqliteError.
    void appendRow(const IndexRow& row);

    // Which column of PDF_PATH a grid column shows.
    static IndexColumn indexColumn(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Table only. Numbers must be whole numbers in range (patient 0 to 99999999, volume 0 to
    // 9999), else false and nothing is written; texts are cut to their column's byte limit.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Table only: deletes the rows from PDF_PATH.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

signals:
    void writeFailed(const QString& message);

private:
    std::vector<IndexRow> rows_;
    ChartIndex* index_ = nullptr;
    bool active_ = false;
};
