#pragma once
// Making a new, empty index file. The program itself never creates its index (it must exist
// before the first start); this serves the demo workspace, tools and tests.

#include <QString>

// Creates an SQLite file at `path` holding the empty table PDF_PATH (TOVANENO and TOVANESUBNO
// as INTEGER, the other columns as TEXT) with an index on (TOVANENO, TOVANESUBNO) and one on
// FILENAME. The file is built under a temporary name and renamed into place, so `path` is
// either a complete index or absent. Throws SqliteError when `path` already exists or the file
// cannot be made.
void createIndexFile(const QString& path);
