#include "SqliteStatement.h"

#include "SqliteError.h"

#include <sqlite3.h>

#include <utility>

namespace kalnor {

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
    const int rc =
        sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throwSqlite(db, rc);
    }
    if (!stmt_)
        throw DbError("La instrucción SQL está vacía", DbError::kBadRowSource);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int index) const {
    const char* name = sqlite3_column_name(stmt_, index);
    return name ? name : std::string();
}

void Statement::bind(int index, const stats::CellValue& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
    case stats::CellValue::Kind::Number:
        rc = sqlite3_bind_double(stmt_, index, value.asNumber());
        break;
    case stats::CellValue::Kind::Text:
        rc = sqlite3_bind_text(stmt_, index, value.asText().data(),
                               static_cast<int>(value.asText().size()), SQLITE_TRANSIENT);
        break;
    default:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    }
    if (rc != SQLITE_OK)
        throwSqlite(db_, rc);
}

void Statement::bind(int index, long long value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK)
        throwSqlite(db_, rc);
}

void Statement::bind(int index, const std::string& value) {
    const int rc = sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                                     SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        throwSqlite(db_, rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    throwSqlite(db_, rc);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

stats::CellValue Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return stats::CellValue::number(static_cast<double>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return stats::CellValue::number(sqlite3_column_double(stmt_, column));
    case SQLITE_NULL:
        return stats::CellValue::null();
    case SQLITE_TEXT:
        // As UTF-8 whatever the file's encoding (a UTF-16 file's bytes are not).
        return stats::CellValue::text(text(column));
    default: { // a BLOB, read as its bytes
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
        const int size = sqlite3_column_bytes(stmt_, column);
        return stats::CellValue::text(data ? std::string(data, static_cast<size_t>(size))
                                           : std::string());
    }
    }
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool Statement::isNumber(int column) const {
    const int type = sqlite3_column_type(stmt_, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

double Statement::number(int column) const {
    return sqlite3_column_double(stmt_, column);
}

long long Statement::int64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
                : std::string();
}

} // namespace kalnor
