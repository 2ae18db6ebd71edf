#pragma once

#include "stats/CellValue.h"

#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace kalnor {

// Owns one prepared statement. Every way of running it leaves it reset, so
// no read lock outlives the call (another process may want to write).
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const std::string& sql); // throws DbError
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }
    int columnCount() const;
    std::string columnName(int index) const;

    // Binding (1-based, as SQLite counts).
    void bind(int index, const stats::CellValue& value);
    void bind(int index, long long value);
    void bind(int index, const std::string& value);

    // Steps once; true while a row is available. Throws DbError on failure
    // (after resetting).
    bool step();
    void reset();
    // Runs a statement without results to its end and resets it.
    void run();

    stats::CellValue value(int column) const;
    // Cheaper reads for the common cells: is it empty, is it a number, and
    // the number itself.
    bool isNull(int column) const;
    bool isNumber(int column) const;
    double number(int column) const;
    long long int64(int column) const;
    std::string text(int column) const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace kalnor
