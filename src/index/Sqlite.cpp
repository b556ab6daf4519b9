#include "index/Sqlite.h"

#include <sqlite3.h>

namespace {

[[noreturn]] void fail(sqlite3* db, int rc) {
    throw SqliteError(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

QByteArray upperAscii(const char* name) {
    return QByteArray(name ? name : "").toUpper();
}

} // namespace

SqliteError::SqliteError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

// --- SqliteDatabase ---------------------------------------------------------------------

void SqliteDatabase::Closer::operator()(sqlite3* db) const {
    // close_v2 never fails; a statement still alive keeps the connection until it is finalized.
    sqlite3_close_v2(db);
}

SqliteDatabase::SqliteDatabase(const QString& path, Mode mode) {
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == Mode::ReadWriteCreate)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    db_.reset(db); // sqlite3_open_v2 hands out a handle even on failure; it must be closed
    if (rc != SQLITE_OK)
        fail(db, rc);
    check(sqlite3_busy_timeout(db, 0));
}

void SqliteDatabase::close() {
    db_.reset();
}

sqlite3* SqliteDatabase::handle() const {
    if (!db_)
        throw SqliteError(SQLITE_MISUSE, "database is not open");
    return db_.get();
}

void SqliteDatabase::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(handle(), sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw SqliteError(rc, text);
    }
}

int SqliteDatabase::changes() const {
    return sqlite3_changes(handle());
}

qint64 SqliteDatabase::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(handle());
}

void SqliteDatabase::check(int rc) const {
    if (rc != SQLITE_OK)
        fail(db_.get(), rc);
}

// --- SqliteStatement --------------------------------------------------------------------

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const char* sql) {
    sqlite3* handle = db.handle();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr);
    stmt_.reset(stmt);
    if (rc != SQLITE_OK)
        fail(handle, rc);
    if (!stmt)
        throw SqliteError(SQLITE_MISUSE, "empty statement");
    const int count = sqlite3_column_count(stmt);
    names_.reserve(count);
    for (int i = 0; i < count; ++i)
        names_.push_back(upperAscii(sqlite3_column_name(stmt, i)));
}

void SqliteStatement::check(int rc) const {
    if (rc != SQLITE_OK)
        fail(sqlite3_db_handle(stmt_.get()), rc);
}

void SqliteStatement::bind(int index, const QByteArray& text) {
    // SQLITE_TRANSIENT: SQLite copies the bytes, so the caller's array may go away.
    check(sqlite3_bind_text(stmt_.get(), index, text.constData(), int(text.size()),
                            SQLITE_TRANSIENT));
}

void SqliteStatement::bind(int index, qint64 value) {
    check(sqlite3_bind_int64(stmt_.get(), index, value));
}

void SqliteStatement::bindNull(int index) {
    check(sqlite3_bind_null(stmt_.get(), index));
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // sqlite3_reset returns the error of the failed step; the connection's message holds it.
    sqlite3_reset(stmt_.get());
    fail(sqlite3_db_handle(stmt_.get()), rc);
}

void SqliteStatement::run() {
    while (step()) {
    }
}

void SqliteStatement::reset() {
    check(sqlite3_reset(stmt_.get()));
}

int SqliteStatement::columnIndex(const char* column) const {
    const QByteArray wanted = upperAscii(column);
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == wanted)
            return int(i);
    throw SqliteError(SQLITE_RANGE, std::string("no such column: ") + column);
}

bool SqliteStatement::hasColumn(const char* column) const {
    const QByteArray wanted = upperAscii(column);
    for (const QByteArray& name : names_)
        if (name == wanted)
            return true;
    return false;
}

QByteArray SqliteStatement::text(const char* column) const {
    const int i = columnIndex(column);
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), i));
    if (!bytes)
        return QByteArray();
    return QByteArray(bytes, sqlite3_column_bytes(stmt_.get(), i));
}

qint64 SqliteStatement::integer(const char* column) const {
    return sqlite3_column_int64(stmt_.get(), columnIndex(column));
}

bool SqliteStatement::isNull(const char* column) const {
    return sqlite3_column_type(stmt_.get(), columnIndex(column)) == SQLITE_NULL;
}

// --- SqliteTransaction ------------------------------------------------------------------

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
    db_.exec("begin transaction");
}

SqliteTransaction::~SqliteTransaction() {
    if (!open_)
        return;
    try {
        rollback();
    } catch (...) {
        // A failed statement may already have ended the transaction; nothing is left to undo.
    }
}

void SqliteTransaction::commit() {
    db_.exec("commit transaction");
    open_ = false;
}

void SqliteTransaction::rollback() {
    open_ = false;
    if (db_.isOpen() && !sqlite3_get_autocommit(db_.handle()))
        db_.exec("rollback transaction");
}
