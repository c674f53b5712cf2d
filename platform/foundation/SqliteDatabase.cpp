#include "platform/foundation/SqliteDatabase.h"

#include <sqlite3.h>
#include <utility>

namespace platform {

static_assert(SqliteDatabase::kOk == SQLITE_OK && SqliteDatabase::kCorrupt == SQLITE_CORRUPT &&
              SqliteDatabase::kMisuse == SQLITE_MISUSE && SqliteDatabase::kNotADatabase == SQLITE_NOTADB &&
              SqliteDatabase::kRow == SQLITE_ROW && SqliteDatabase::kDone == SQLITE_DONE);

// ---------------------------------------------------------------- statement

SqliteStatement::~SqliteStatement() {
    finalize();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), kept_(std::exchange(other.kept_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        finalize();
        statement_ = std::exchange(other.statement_, nullptr);
        kept_ = std::exchange(other.kept_, nullptr);
    }
    return *this;
}

void SqliteStatement::finalize() {
    if (kept_ && !kept_->orphaned) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        kept_->lent = false;
    } else if (statement_) {
        sqlite3_finalize(statement_);
    }
    if (kept_ && kept_->orphaned) delete kept_;
    statement_ = nullptr;
    kept_ = nullptr;
}

bool SqliteStatement::bindText(int index, std::string_view text) {
    if (!statement_) return false;
    // SQLITE_TRANSIENT: SQLite copies the bytes, so the caller's text may go away.
    return sqlite3_bind_text64(statement_, index, text.data(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                               SQLITE_UTF8) == SQLITE_OK;
}

bool SqliteStatement::bindInt(int index, int64_t value) {
    return statement_ && sqlite3_bind_int64(statement_, index, sqlite3_int64(value)) == SQLITE_OK;
}

bool SqliteStatement::bindDouble(int index, double value) {
    return statement_ && sqlite3_bind_double(statement_, index, value) == SQLITE_OK;
}

int SqliteStatement::step() {
    return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE;
}

bool SqliteStatement::reset() {
    return statement_ && sqlite3_reset(statement_) == SQLITE_OK;
}

int SqliteStatement::columnCount() const {
    return statement_ ? sqlite3_column_count(statement_) : 0;
}

std::string SqliteStatement::columnText(int column) const {
    if (!statement_ || column < 0 || column >= columnCount()) return {};
    const auto* text = sqlite3_column_text(statement_, column);
    if (!text) return {};
    // The byte count, not strlen: a text may hold a NUL.
    const int size = sqlite3_column_bytes(statement_, column);
    return std::string(reinterpret_cast<const char*>(text), size_t(size));
}

int64_t SqliteStatement::columnInt(int column) const {
    if (!statement_ || column < 0 || column >= columnCount()) return 0;
    return int64_t(sqlite3_column_int64(statement_, column));
}

double SqliteStatement::columnDouble(int column) const {
    if (!statement_ || column < 0 || column >= columnCount()) return 0;
    return sqlite3_column_double(statement_, column);
}

// ---------------------------------------------------------------- database

SqliteDatabase::~SqliteDatabase() {
    close();
}

bool SqliteDatabase::open(const std::string& path) {
    close();
    path_ = path;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        closedError_ = rc;
        closedMessage_ = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        // SQLite hands out a handle even when opening fails; it must be closed too.
        sqlite3_close_v2(db);
        return false;
    }
    db_ = db;
    closedError_ = SQLITE_OK;
    closedMessage_.clear();
    return true;
}

void SqliteDatabase::close() {
    for (auto& [sql, kept] : kept_) {
        if (!kept->lent) {
            sqlite3_finalize(kept->statement);
            continue;
        }
        kept->orphaned = true;
        kept.release();
    }
    kept_.clear();
    if (!db_) return;
    // close_v2 defers the real close until statements still alive are finalized.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    closedError_ = SQLITE_MISUSE;
    closedMessage_ = "database is closed";
}

bool SqliteDatabase::exec(const std::string& sql) {
    if (!db_) return false;
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement SqliteDatabase::prepare(const std::string& sql) {
    if (!db_) return SqliteStatement();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return SqliteStatement();
    }
    return SqliteStatement(statement);
}

SqliteStatement SqliteDatabase::prepareKept(const std::string& sql) {
    if (!db_) return SqliteStatement();
    auto found = kept_.find(sql);
    if (found == kept_.end()) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(statement);
            return SqliteStatement();
        }
        found = kept_.emplace(sql, std::make_unique<SqliteStatement::Kept>()).first;
        found->second->statement = statement;
    }
    SqliteStatement::Kept& kept = *found->second;
    if (kept.lent) return prepare(sql);
    kept.lent = true;
    return SqliteStatement(kept.statement, &kept);
}

int SqliteDatabase::errorCode() const {
    return db_ ? sqlite3_errcode(db_) : closedError_;
}

std::string SqliteDatabase::errorMessage() const {
    return db_ ? std::string(sqlite3_errmsg(db_)) : closedMessage_;
}

int64_t SqliteDatabase::lastInsertRowId() const {
    return db_ ? int64_t(sqlite3_last_insert_rowid(db_)) : 0;
}

} // namespace platform
