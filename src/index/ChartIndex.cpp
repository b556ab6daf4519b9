#include "index/ChartIndex.h"

#include "core/Cp932.h"
#include "index/Cp932Like.h"

#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace {

// Most index texts (dates, paths, file names, postcodes, telephone numbers) are plain ASCII,
// which code page 932 holds unchanged; they skip the general conversion, which costs far more
// per call. Reading 50,000 result rows spends most of its time here.
bool isAscii(const char* bytes, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

QString decode(const QByteArray& bytes) {
    return isAscii(bytes.constData(), bytes.size()) ? QString::fromLatin1(bytes) : fromCp932(bytes);
}

QByteArray encode(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return toCp932(text);
    return text.toLatin1();
}

QByteArray columnBytes(IndexColumn column, const QString& text) {
    const int limit = columnByteLimit(column);
    return limit > 0 ? cutToBytes(encode(text), limit) : encode(text);
}

IndexRow rowFrom(const SqliteStatement& s) {
    IndexRow row;
    row.patientNo = int(s.integer("TOVANENO"));
    row.volumeNo = int(s.integer("TOVANESUBNO"));
    row.tovaneDate = decode(s.text("TOVANEDATE"));
    row.filePath = decode(s.text("FILEPATH"));
    row.inetPath = decode(s.text("INETPATH"));
    row.fileName = decode(s.text("FILENAME"));
    for (int n = 1; n <= keyCount; ++n)
        row.keys[n - 1] = decode(s.text(columnName(keyColumn(n))));
    return row;
}

} // namespace

void ChartIndex::open(const QString& path) {
    close();
    SqliteDatabase db(path, SqliteDatabase::Mode::ReadWrite);
    installCp932Like(db.handle());
    // SQLite reads the file only at the first statement; look at it now, so that a file that
    // is no index fails here, at connecting, rather than at the first save or search.
    SqliteStatement table(db, "SELECT count(*) AS N FROM sqlite_master "
                              "WHERE type = 'table' AND name = 'PDF_PATH' COLLATE NOCASE;");
    table.step();
    if (table.integer("N") == 0)
        throw SqliteError(SQLITE_ERROR, "no such table: PDF_PATH");
    db_ = std::move(db);
}

void ChartIndex::close() {
    db_.close();
}

std::vector<IndexRow> ChartIndex::readRows(SqliteStatement& statement) {
    std::vector<IndexRow> rows;
    while (statement.step())
        rows.push_back(rowFrom(statement));
    return rows;
}

std::vector<IndexRow> ChartIndex::patientVolumes(int patientNo) {
    SqliteStatement s(db_, "SELECT * FROM PDF_PATH WHERE TOVANENO = ? ORDER BY TOVANESUBNO ASC;");
    s.bind(1, qint64(patientNo));
    return readRows(s);
}

std::vector<IndexRow> ChartIndex::volumeRows(int patientNo, int volumeNo) {
    SqliteStatement s(db_,
                      "SELECT * FROM PDF_PATH WHERE ( TOVANENO = ? ) AND ( TOVANESUBNO = ? );");
    s.bind(1, qint64(patientNo));
    s.bind(2, qint64(volumeNo));
    return readRows(s);
}

void ChartIndex::deleteVolume(int patientNo, int volumeNo) {
    SqliteStatement s(db_, "DELETE FROM PDF_PATH WHERE ( TOVANENO = ? ) AND ( TOVANESUBNO = ? );");
    s.bind(1, qint64(patientNo));
    s.bind(2, qint64(volumeNo));
    s.run();
}

qint64 ChartIndex::insertVolume(const IndexRow& row) {
    SqliteStatement s(db_, "INSERT INTO PDF_PATH ( TOVANENO, TOVANESUBNO, TOVANEDATE, FILEPATH, "
                           "INETPATH, FILENAME, KEY1, KEY2, KEY3, KEY4, KEY5, KEY6, KEY7, KEY8 ) "
                           "VALUES ( ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? );");
    s.bind(1, qint64(row.patientNo));
    s.bind(2, qint64(row.volumeNo));
    s.bind(3, columnBytes(IndexColumn::TovaneDate, row.tovaneDate));
    s.bind(4, columnBytes(IndexColumn::FilePath, row.filePath));
    s.bind(5, columnBytes(IndexColumn::InetPath, row.inetPath));
    s.bind(6, columnBytes(IndexColumn::FileName, row.fileName));
    for (int n = 1; n <= keyCount; ++n)
        s.bind(6 + n, columnBytes(keyColumn(n), row.keys[n - 1]));
    SqliteTransaction transaction(db_);
    s.run();
    const qint64 rowId = db_.lastInsertRowId();
    transaction.commit();
    return rowId;
}

int ChartIndex::updateVolume(const IndexRow& row) {
    SqliteStatement s(db_, "UPDATE PDF_PATH SET TOVANEDATE = ?, KEY1 = ?, KEY2 = ?, KEY3 = ?, "
                           "KEY4 = ?, KEY5 = ?, KEY6 = ?, KEY7 = ?, KEY8 = ? "
                           "WHERE TOVANENO = ? AND TOVANESUBNO = ?;");
    s.bind(1, columnBytes(IndexColumn::TovaneDate, row.tovaneDate));
    for (int n = 1; n <= keyCount; ++n)
        s.bind(1 + n, columnBytes(keyColumn(n), row.keys[n - 1]));
    s.bind(10, qint64(row.patientNo));
    s.bind(11, qint64(row.volumeNo));
    SqliteTransaction transaction(db_);
    s.run();
    const int changed = db_.changes();
    transaction.commit();
    return changed;
}

std::vector<IndexRow> ChartIndex::searchKeys(const IndexKeys& keys) {
    std::string sql = "SELECT * FROM PDF_PATH WHERE ";
    std::vector<QByteArray> values;
    for (int n = 1; n <= keyCount; ++n) {
        if (keys[n - 1].isEmpty())
            continue;
        if (!values.empty())
            sql += "and ";
        sql += columnName(keyColumn(n));
        sql += " LIKE '%' || ? || '%' ";
        values.push_back(encode(keys[n - 1]));
    }
    if (values.empty())
        throw std::invalid_argument("no search keyword");
    sql += ";";
    SqliteStatement s(db_, sql.c_str());
    for (size_t i = 0; i < values.size(); ++i)
        s.bind(int(i) + 1, values[i]);
    return readRows(s);
}

std::vector<IndexRow> ChartIndex::patientRows(int patientNo) {
    SqliteStatement s(db_, "SELECT * FROM PDF_PATH WHERE TOVANENO = ?;");
    s.bind(1, qint64(patientNo));
    return readRows(s);
}

std::vector<IndexRow> ChartIndex::rowsWithFileName(const QString& fileName) {
    const QByteArray bytes = encode(fileName);
    // A name that code page 932 cannot hold was never stored as such; its "?" stand-ins
    // must not match a stored name that really has "?" there.
    if (decode(bytes) != fileName)
        return {};
    SqliteStatement s(db_, "SELECT * FROM PDF_PATH WHERE FILENAME = ?;");
    s.bind(1, bytes);
    return readRows(s);
}

std::vector<IndexRow> ChartIndex::patientRange(int from, int to) {
    SqliteStatement s(db_, "SELECT * FROM PDF_PATH WHERE TOVANENO >= ? and TOVANENO <= ?;");
    s.bind(1, qint64(from));
    s.bind(2, qint64(to));
    return readRows(s);
}

void ChartIndex::vacuum() {
    db_.exec("VACUUM");
}

std::vector<IndexRow> ChartIndex::allRows() {
    SqliteStatement s(db_, "SELECT rowid AS TOVANE_ROW_ID, * FROM PDF_PATH ORDER BY rowid;");
    std::vector<IndexRow> rows;
    while (s.step()) {
        rows.push_back(rowFrom(s));
        rows.back().rowId = s.integer("TOVANE_ROW_ID");
    }
    return rows;
}

void ChartIndex::setText(qint64 rowId, IndexColumn column, const QString& value) {
    if (column == IndexColumn::TovaneNo || column == IndexColumn::TovaneSubNo)
        throw std::invalid_argument("not a text column");
    // The column name comes from our own table of names, never from input.
    const std::string sql =
        std::string("UPDATE PDF_PATH SET ") + columnName(column) + " = ? WHERE rowid = ?;";
    SqliteStatement s(db_, sql.c_str());
    s.bind(1, columnBytes(column, value));
    s.bind(2, rowId);
    s.run();
}

void ChartIndex::setNumber(qint64 rowId, IndexColumn column, int value) {
    if (column != IndexColumn::TovaneNo && column != IndexColumn::TovaneSubNo)
        throw std::invalid_argument("not a number column");
    const std::string sql =
        std::string("UPDATE PDF_PATH SET ") + columnName(column) + " = ? WHERE rowid = ?;";
    SqliteStatement s(db_, sql.c_str());
    s.bind(1, qint64(value));
    s.bind(2, rowId);
    s.run();
}

void ChartIndex::deleteRow(qint64 rowId) {
    SqliteStatement s(db_, "DELETE FROM PDF_PATH WHERE rowid = ?;");
    s.bind(1, rowId);
    s.run();
}
