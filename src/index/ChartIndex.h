#pragma once
// The chart index: the SQLite file that records where every chart volume lies, with eight
// searchable facts about its patient (table PDF_PATH, see IndexRow.h).
//
// One connection, used from the UI thread only. Every function below is one statement the
// program sends; each throws SqliteError with SQLite's message when the statement fails
// (also when the index is not open), and the caller shows its own box for it.
//
// Texts cross this boundary as QString and are stored as code page 932 bytes. Every value
// is bound as a statement parameter, never pasted into the SQL text, so quotes and other
// characters in names and keywords are stored and searched as typed.

#include "index/IndexRow.h"
#include "index/Sqlite.h"

#include <QString>
#include <vector>

class ChartIndex {
public:
    // Connects to the index file at `path`. The file must exist (it is never created here),
    // must be an SQLite database and must hold the table PDF_PATH; otherwise SqliteError.
    // Locked files fail at once (busy time-out 0). Opening an open index reconnects.
    void open(const QString& path);
    // Disconnects; harmless when not open.
    void close();
    bool isOpen() const { return db_.isOpen(); }

    // The volumes of a patient, in ascending volume number (1, 2, 10).
    std::vector<IndexRow> patientVolumes(int patientNo);
    // The row(s) of one volume; normally none or one.
    std::vector<IndexRow> volumeRows(int patientNo, int volumeNo);
    // Deletes the row(s) of one volume, without an explicit transaction.
    void deleteVolume(int patientNo, int volumeNo);
    // Inserts the row of a new volume inside a transaction (rolled back on failure). Texts
    // longer than their column's byte limit are cut (FILEPATH, INETPATH 255 bytes, FILENAME
    // 63, KEY1 to KEY8 48), never inside a double-byte character. `row.rowId` is ignored.
    // Returns the new row's row id.
    qint64 insertVolume(const IndexRow& row);
    // Sets TOVANEDATE and KEY1 to KEY8 (cut as above) of the volume row.patientNo /
    // row.volumeNo, inside a transaction; the file columns stay. Returns the number of rows
    // changed: 0 when the volume has no row, which is not an error.
    int updateVolume(const IndexRow& row);
    // Rows whose KEYn contains keys[n-1] for every non-empty keys[n-1], all conditions
    // joined by "and". "%" and "_" in a keyword act as wildcards; single-byte letters match
    // without regard to case (see Cp932Like.h). Rows in table order. Throws
    // std::invalid_argument when every keyword is empty.
    std::vector<IndexRow> searchKeys(const IndexKeys& keys);
    // The rows of a patient, in table order.
    std::vector<IndexRow> patientRows(int patientNo);
    // The rows whose FILENAME is exactly `fileName` (letter case counts).
    std::vector<IndexRow> rowsWithFileName(const QString& fileName);
    // The rows with from <= TOVANENO <= to.
    std::vector<IndexRow> patientRange(int from, int to);
    // Compacts the index file.
    void vacuum();

    // Browsing and editing the whole table by hand (maintenance), rows addressed by row id.
    // All rows in row id order, with rowId filled.
    std::vector<IndexRow> allRows();
    // Sets one text column of one row (cut to the column's byte limit).
    void setText(qint64 rowId, IndexColumn column, const QString& value);
    // Sets TOVANENO or TOVANESUBNO of one row.
    void setNumber(qint64 rowId, IndexColumn column, int value);
    void deleteRow(qint64 rowId);

    // The connection, for what the functions above do not cover.
    SqliteDatabase& database() { return db_; }

private:
    std::vector<IndexRow> readRows(SqliteStatement& statement);

    SqliteDatabase db_;
};
