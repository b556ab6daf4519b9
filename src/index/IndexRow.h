#pragma once
// One row of the chart index table PDF_PATH: one chart volume, where its file lies and eight
// searchable facts about its patient. Texts are held as QString; the index itself stores them
// as code page 932 bytes (the conversion happens in ChartIndex).

#include <QString>
#include <array>

// The columns of PDF_PATH that the system reads and writes.
enum class IndexColumn {
    TovaneNo,    // patient number, 0 to 99999999
    TovaneSubNo, // volume number, 0 to 9999
    TovaneDate,  // date and time of the last save, as text
    FilePath,    // patient folder below the chart base folder
    InetPath,    // full path of the file at creation, with "/"
    FileName,    // file name of the volume
    Key1,        // patient name; Key2 to Key8 follow in order
    Key2,
    Key3,
    Key4,
    Key5,
    Key6,
    Key7,
    Key8,
};

inline constexpr int keyCount = 8;

// The column's name in PDF_PATH ("TOVANENO", "KEY1", ...).
const char* columnName(IndexColumn column);
// The most code page 932 bytes the column takes; longer text is cut to it. 0: no limit
// (numbers and the date).
int columnByteLimit(IndexColumn column);
inline IndexColumn keyColumn(int n) { // n = 1 to 8
    return IndexColumn(int(IndexColumn::Key1) + n - 1);
}

// The eight patient facts KEY1 to KEY8: name, reading, sex ("男性", "女性" or empty), birth
// date, postcode, address, telephone, mobile telephone.
using IndexKeys = std::array<QString, keyCount>;

struct IndexRow {
    int patientNo = 0;
    int volumeNo = 0;
    QString tovaneDate;
    QString filePath;
    QString inetPath;
    QString fileName;
    IndexKeys keys;
    // SQLite's row id; filled only by ChartIndex::allRows(), 0 otherwise.
    qint64 rowId = 0;

    bool operator==(const IndexRow&) const = default;
};
