#include "index/IndexFile.h"

#include "index/Sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sqlite3.h>

namespace {

const char* const schema = "CREATE TABLE PDF_PATH ("
                           " TOVANENO INTEGER,"
                           " TOVANESUBNO INTEGER,"
                           " TOVANEDATE TEXT,"
                           " FILEPATH TEXT,"
                           " INETPATH TEXT,"
                           " FILENAME TEXT,"
                           " KEY1 TEXT, KEY2 TEXT, KEY3 TEXT, KEY4 TEXT,"
                           " KEY5 TEXT, KEY6 TEXT, KEY7 TEXT, KEY8 TEXT );"
                           "CREATE INDEX PDF_PATH_TOVANENO ON PDF_PATH ( TOVANENO, TOVANESUBNO );"
                           "CREATE INDEX PDF_PATH_FILENAME ON PDF_PATH ( FILENAME );";

[[noreturn]] void fail(const QString& text) {
    throw SqliteError(SQLITE_CANTOPEN, text.toStdString());
}

} // namespace

void createIndexFile(const QString& path) {
    if (QFileInfo::exists(path))
        fail(QStringLiteral("index file already exists: ") + path);
    const QFileInfo info(path);
    // A temporary file in the target folder, so that the final rename stays on one file system.
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        fail(QStringLiteral("cannot create a file in ") + info.absolutePath());
    temporary.close();
    {
        SqliteDatabase db(temporary.fileName(), SqliteDatabase::Mode::ReadWrite);
        db.exec(schema);
    }
    // QFile::rename refuses to replace an existing file: an index that appeared meanwhile stays.
    if (!QFile::rename(temporary.fileName(), path))
        fail(QStringLiteral("cannot create the index file ") + path);
    temporary.setAutoRemove(false);
}
