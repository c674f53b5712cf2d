#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// One prepared statement of a SqliteDatabase. Values are bound by position (from 1),
// never pasted into the statement's text. Finalized when destroyed; move-only. A
// statement that failed to prepare is invalid: binds fail, step answers
// SqliteDatabase::kMisuse and the columns read as empty.
//
// Not thread-safe: one thread uses a connection and its statements at a time.
class SqliteStatement {
public:
    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return statement_ != nullptr; }

    bool bindText(int index, std::string_view text);
    bool bindInt(int index, int64_t value);
    bool bindDouble(int index, double value);

    // SQLite's result code: kRow while rows come, kDone at the end, another code on error.
    int step();
    // Back to before the first step; the bound values stay.
    bool reset();

    int columnCount() const;
    // Column values of the current row (from 0); "" or 0 for NULL or a bad column.
    std::string columnText(int column) const;
    int64_t columnInt(int column) const;
    double columnDouble(int column) const;

private:
    friend class SqliteDatabase;
    struct Kept {
        sqlite3_stmt* statement = nullptr;
        bool lent = false;
        // The connection closed while the statement was lent: its borrower finalizes it.
        bool orphaned = false;
    };
    explicit SqliteStatement(sqlite3_stmt* statement, Kept* kept = nullptr) : statement_(statement), kept_(kept) {}
    void finalize();

    sqlite3_stmt* statement_ = nullptr;
    // A statement the connection keeps, lent to this one: given back, not finalized.
    Kept* kept_ = nullptr;
};

// A connection to one SQLite 3 database file. Closed when destroyed; statements that
// outlive the connection stay safe (the file closes once the last is finalized).
// Not thread-safe: one thread uses it at a time.
class SqliteDatabase {
public:
    // SQLite's result codes that callers look at.
    static constexpr int kOk = 0;
    static constexpr int kCorrupt = 11;
    static constexpr int kMisuse = 21;
    static constexpr int kNotADatabase = 26;
    static constexpr int kRow = 100;
    static constexpr int kDone = 101;

    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens the file for reading and writing, creating it when absent; closes an open
    // connection first. False (with errorMessage) when it cannot be opened.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }

    // Runs statements without results. False on failure; errorCode/errorMessage say why.
    bool exec(const std::string& sql);
    // An invalid statement when the connection is closed or the text does not compile.
    SqliteStatement prepare(const std::string& sql);
    // The same, from statements the connection keeps compiled for texts it runs again and
    // again: the statement comes back reset, without its bound values, when the object
    // goes. A text whose kept statement is still out is compiled afresh.
    SqliteStatement prepareKept(const std::string& sql);

    // The result code and text of the last failure on this connection.
    int errorCode() const;
    std::string errorMessage() const;
    int64_t lastInsertRowId() const;

private:
    sqlite3* db_ = nullptr;
    std::string path_;
    std::map<std::string, std::unique_ptr<SqliteStatement::Kept>, std::less<>> kept_;
    int closedError_ = kOk;
    std::string closedMessage_;
};

} // namespace platform
