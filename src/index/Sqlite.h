#pragma once
// A thin owner of the SQLite C handles. Texts go in and come out as raw bytes: the index
// holds code page 932, which must reach the file unconverted, so nothing here decodes text.
//
// Every failing call throws SqliteError with SQLite's own message. Destructors never throw.

#include <QByteArray>
#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A failure reported by SQLite (or a misuse of this wrapper), with SQLite's message text.
class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message);
    // The SQLite result code (SQLITE_BUSY, SQLITE_CANTOPEN, ...); SQLITE_MISUSE for a
    // misuse of the wrapper such as a statement on a closed connection.
    int code() const { return code_; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    int code_;
};

// One connection to one database file.
class SqliteDatabase {
public:
    enum class Mode { ReadWrite, ReadWriteCreate };

    SqliteDatabase() = default;
    // Opens `path`. ReadWrite never creates the file: a missing file fails with
    // SQLITE_CANTOPEN. The busy time-out is 0, so a file locked by another connection makes a
    // statement fail at once with SQLITE_BUSY instead of waiting.
    SqliteDatabase(const QString& path, Mode mode);

    bool isOpen() const { return db_ != nullptr; }
    // Closes the connection (statements still alive keep it until they are destroyed).
    void close();
    sqlite3* handle() const;

    // Runs one or more statements that return no rows.
    void exec(const char* sql);
    // Rows changed by the last insert, update or delete.
    int changes() const;
    qint64 lastInsertRowId() const;

    // Throws SqliteError with the connection's message unless rc is SQLITE_OK.
    void check(int rc) const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

// One prepared statement. Parameters are bound by their 1-based index; columns of the
// current row are read by name (case-insensitive, as SQLite compares names).
class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, const char* sql);

    // Text is bound as the given bytes, unconverted.
    void bind(int index, const QByteArray& text);
    void bind(int index, qint64 value);
    void bindNull(int index);

    // Runs to the next row: true when a row is ready, false when the statement is done.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Makes the statement ready to run again (bindings stay).
    void reset();

    // Columns of the current row. A NULL reads as empty text or 0. An unknown name throws.
    QByteArray text(const char* column) const;
    qint64 integer(const char* column) const;
    bool isNull(const char* column) const;
    bool hasColumn(const char* column) const;
    int columnIndex(const char* column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    void check(int rc) const;

    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    std::vector<QByteArray> names_; // upper-case column names, by column index
};

// A transaction on one connection: begun by the constructor, rolled back by the destructor
// unless commit() succeeded. The rollback in the destructor never throws.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();
    // Rolls back now; the destructor then does nothing.
    void rollback();

private:
    SqliteDatabase& db_;
    bool open_ = true;
};
