#include "Database.h"

#include "DbError.h"
#include "SqlName.h"
#include "SqliteError.h"
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>

namespace kalnor {

namespace {

// Written into new files' header so they are never left empty (an empty
// file would read as "not a database" when opened again).
constexpr int kApplicationId = 0x4B4C4E52; // "KLNR"
// How long a writer waits for another process that holds the file.
constexpr int kBusyTimeoutMs = 3000;

using Header = std::array<char, 100>;

std::string quoted(const std::string& path) {
    return "«" + path + "»";
}

// Reads the first bytes of the file; returns how many were read, or throws
// DbError when the file is missing or cannot be read.
std::size_t readHeader(const std::string& path, Header& header) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (path.empty() || !std::filesystem::exists(status))
        throw DbError("No se encuentra el fichero " + quoted(path) + ".", DbError::kFileNotFound);
    if (!std::filesystem::is_regular_file(status))
        throw DbError(quoted(path) + " no es un fichero de base de datos.", DbError::kNotADatabase);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DbError("No se puede abrir el fichero " + quoted(path) +
                          " (no hay permiso de lectura).",
                      DbError::kCannotOpen);
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    return static_cast<std::size_t>(in.gcount());
}

bool hasAccessSignature(const Header& header, std::size_t size) {
    if (size < 19)
        return false;
    const std::string_view text(header.data() + 4, 15);
    return text == "Standard Jet DB" || text == "Standard ACE DB";
}

void checkHeader(const std::string& path) {
    Header header{};
    const std::size_t size = readHeader(path, header);
    if (hasAccessSignature(header, size))
        throw DbError(quoted(path) +
                          " es una base de datos de Microsoft Access. Este formato no se puede "
                          "abrir directamente; hay que importarlo antes.",
                      DbError::kAccessFile);
    constexpr std::string_view sqliteMagic("SQLite format 3\0", 16);
    if (size < header.size() || std::string_view(header.data(), 16) != sqliteMagic)
        throw DbError(quoted(path) + " no es una base de datos o está dañado.",
                      DbError::kNotADatabase);
}

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

Connection connect(const std::string& path, int flags) {
    sqlite3* raw = nullptr;
    // One connection is used by one thread at a time: no locking per call.
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        throwSqlite(db.get(), rc, quoted(path));
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // A file may come from anywhere. Distribution files need no triggers or
    // views, and a hostile one must not run code of its own (an endless
    // trigger, say) when a row is written; nor may a name that is not a
    // column be taken for a string.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    return db;
}

// Reads the schema and walks every table's pages, so a damaged file is
// refused now and not halfway through a later command. (A full integrity
// check costs several times more; damage it alone would find still ends in
// a DbError when that part of the file is touched.)
void verify(sqlite3* db, const std::string& path) {
    try {
        std::vector<std::string> tables;
        Statement schema(db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND "
                             "coalesce(sql, '') NOT LIKE 'CREATE VIRTUAL%'");
        while (schema.step())
            tables.push_back(schema.text(0));
        schema.reset();
        for (const auto& table : tables) {
            Statement count(db, "SELECT count(*) FROM " + quoteIdentifier(table));
            count.run();
        }
    } catch (const DbError& e) {
        if (e.code() == DbError::kLocked)
            throw;
        throw DbError("El fichero " + quoted(path) + " está dañado o no es una base de datos.",
                      e.code() == DbError::kGeneric ? DbError::kDamaged : e.code());
    }
}

// Files made elsewhere may use write-ahead logging; this program keeps the
// rollback journal, whose locks every process honours on a plain file.
void useRollbackJournal(sqlite3* db) {
    try {
        Statement mode(db, "PRAGMA journal_mode");
        const bool wal = mode.step() && mode.text(0) == "wal";
        mode.reset();
        if (wal) {
            Statement change(db, "PRAGMA journal_mode=DELETE");
            change.run();
        }
    } catch (const DbError&) {
        // Another process holds the file in that mode: keep it as it is.
    }
}

} // namespace

Database::Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

Database::~Database() {
    sqlite3_close_v2(db_);
}

std::shared_ptr<Database> Database::open(const std::string& path, Mode mode) {
    checkHeader(path);
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    Connection db = connect(path, flags);
    verify(db.get(), path);
    if (mode == Mode::ReadWrite)
        useRollbackJournal(db.get());
    // The constructor is private, so make_shared cannot reach it.
    return std::shared_ptr<Database>(new Database(db.release(), path));
}

std::shared_ptr<Database> Database::openReader() const {
    Connection db = connect(path_, SQLITE_OPEN_READONLY);
    return std::shared_ptr<Database>(new Database(db.release(), path_));
}

std::shared_ptr<Database> Database::create(const std::string& path) {
    std::error_code ec;
    if (path.empty())
        throw DbError("Falta el nombre del fichero.", DbError::kCannotOpen);
    if (std::filesystem::exists(path, ec))
        throw DbError("El fichero " + quoted(path) + " ya existe.", DbError::kDatabaseExists);
    Connection db = connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    std::shared_ptr<Database> database(new Database(db.release(), path));
    database->exec("PRAGMA application_id=" + std::to_string(kApplicationId));
    return database;
}

bool Database::isAccessFile(const std::string& path) {
    try {
        Header header{};
        const std::size_t size = readHeader(path, header);
        return hasAccessSignature(header, size);
    } catch (const DbError&) {
        return false;
    }
}

void Database::exec(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throwSqlite(db_, rc);
}

std::vector<std::string> Database::tableNames() const {
    Statement query(db_, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE "
                         "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    std::vector<std::string> names;
    while (query.step())
        names.push_back(query.text(0));
    query.reset();
    return names;
}

bool Database::hasTable(const std::string& table) const {
    Statement query(db_, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 "
                         "COLLATE NOCASE AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
    query.bind(1, table);
    const bool found = query.step();
    query.reset();
    return found;
}

std::vector<std::string> Database::fieldNames(const std::string& table) const {
    if (!hasTable(table))
        throw DbError("No se encuentra la tabla «" + table + "».", DbError::kTableNotFound);
    Statement query(db_, "SELECT name FROM pragma_table_info(?1) ORDER BY cid");
    query.bind(1, table);
    std::vector<std::string> names;
    while (query.step())
        names.push_back(query.text(0));
    query.reset();
    return names;
}

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    for (const auto& n : names) {
        if (sameSqlName(n, name))
            return true;
    }
    return false;
}

} // namespace

void Database::addDoubleField(const std::string& table, const std::string& field) {
    if (field.empty())
        throw DbError("El nombre del campo está vacío.", DbError::kGeneric);
    if (contains(fieldNames(table), field))
        throw DbError("El campo «" + field + "» ya existe en la tabla «" + table + "».",
                      DbError::kFieldExists);
    exec("ALTER TABLE " + quoteIdentifier(table) + " ADD COLUMN " + quoteIdentifier(field) +
         " REAL");
}

void Database::dropField(const std::string& table, const std::string& field) {
    if (!contains(fieldNames(table), field))
        throw DbError("No se encuentra el campo «" + field + "» en la tabla «" + table + "».",
                      DbError::kFieldNotFound);
    exec("ALTER TABLE " + quoteIdentifier(table) + " DROP COLUMN " + quoteIdentifier(field));
}

Database::Transaction::Transaction(Database& db) : db_(&db) {
    nested_ = db.transactionDepth_ > 0 || !sqlite3_get_autocommit(db.db_);
    if (nested_) {
        db.exec("SAVEPOINT kalnor_" + std::to_string(db.transactionDepth_));
    } else {
        // Take the write lock at once: two processes that both started
        // reading could otherwise wait on each other for ever.
        db.exec("BEGIN IMMEDIATE");
    }
    ++db.transactionDepth_;
}

Database::Transaction::~Transaction() {
    if (done_)
        return;
    --db_->transactionDepth_;
    const std::string name = "kalnor_" + std::to_string(db_->transactionDepth_);
    const std::string sql =
        nested_ ? "ROLLBACK TO " + name + "; RELEASE " + name : std::string("ROLLBACK");
    sqlite3_exec(db_->db_, sql.c_str(), nullptr, nullptr, nullptr);
}

void Database::Transaction::commit() {
    if (done_)
        throw DbError("La transacción ya ha terminado.", DbError::kGeneric);
    const std::string name = "kalnor_" + std::to_string(db_->transactionDepth_ - 1);
    db_->exec(nested_ ? "RELEASE " + name : std::string("COMMIT"));
    done_ = true;
    --db_->transactionDepth_;
}

std::string quoteIdentifier(const std::string& name) {
    std::string out;
    out.reserve(name.size() + 2);
    out += '"';
    for (const char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

} // namespace kalnor
