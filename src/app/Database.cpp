#include "Database.h"

#include "DbError.h"
#include "EsquemaArchivo.h"
#include "SqlName.h"
#include "SqliteError.h"
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <array>
#include <chrono>
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

// Checks the header; true when it says the file keeps a write-ahead log.
bool checkHeader(const std::string& path) {
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
    return header[18] == 2 || header[19] == 2;
}

// SQLite's own limits, far above what a distribution needs, so that a
// hostile file meets a wall even where the schema check let it through.
void setLimits(sqlite3* db) {
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 64 << 20);          // a cell, a row
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 4 << 20);       // a statement's text
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 1000);              // Access allows 255
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100);           // Kalnor's own are flat
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 50);       // a UNION chain
    sqlite3_limit(db, SQLITE_LIMIT_VDBE_OP, 1000000);          // a program's length
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 32);          // a call's arguments
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 1000); // a LIKE pattern
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 10);         // triggers never run anyway
}

// Each statement gets a time of its own from its first step on; one that
// runs past it is stopped (SQLITE_INTERRUPT). A million-row read or write
// takes well under a second, so only a file built to make SQLite work
// without end ever meets it.
struct StatementClock {
    static constexpr std::chrono::seconds kBudget{10};
    // Virtual machine steps between two looks at the clock.
    static constexpr int kStepsBetweenLooks = 10000;

    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + kBudget;

    static int started(unsigned, void* self, void*, void*) {
        static_cast<StatementClock*>(self)->deadline = std::chrono::steady_clock::now() + kBudget;
        return 0;
    }
    static int overTime(void* self) {
        return std::chrono::steady_clock::now() > static_cast<StatementClock*>(self)->deadline;
    }
};

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

} // namespace

// A connection with the clock its statements are timed by, which outlives
// it (members are destroyed in reverse order: the connection first).
struct Database::Connection {
    std::unique_ptr<StatementClock> clock = std::make_unique<StatementClock>();
    std::unique_ptr<sqlite3, ConnectionCloser> db;
};

Database::Connection Database::connect(const std::string& name, int flags,
                                       const std::string& path) {
    Connection connection;
    sqlite3* raw = nullptr;
    // One connection is used by one thread at a time: no locking per call.
    const int rc = sqlite3_open_v2(name.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    connection.db.reset(raw);
    if (rc != SQLITE_OK)
        throwSqlite(raw, rc, quoted(path));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    setLimits(raw);
    sqlite3_trace_v2(raw, SQLITE_TRACE_STMT, &StatementClock::started, connection.clock.get());
    sqlite3_progress_handler(raw, StatementClock::kStepsBetweenLooks, &StatementClock::overTime,
                             connection.clock.get());
    // A file may come from anywhere. Distribution files need no triggers or
    // views, and a hostile one must not run code of its own (an endless
    // trigger, say) when a row is written; nor may a name that is not a
    // column be taken for a string.
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    return connection;
}

namespace {

// A URI that opens `path` as a file nobody changes while it is open: SQLite
// then needs neither its -shm nor its -wal file.
std::string immutableUri(const std::string& path) {
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).string();
    std::string uri = "file://";
    constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : ec ? path : absolute) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || c == '/' || c == '-' || c == '_' || c == '.' ||
                           c == '~';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[u >> 4];
            uri += hex[u & 15];
        }
    }
    return uri + "?immutable=1";
}

// True when `path`'s write-ahead log holds something (committed changes
// not yet copied into the file).
bool hasPendingLog(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path + "-wal", ec);
    return !ec && size > 0;
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
        // Before any row is read: nothing of the file's own may run.
        comprobarEsquema(db);
        for (const auto& table : tables) {
            Statement count(db, "SELECT count(*) FROM " + quoteIdentifier(table));
            count.run();
        }
    } catch (const DbError& e) {
        if (e.code() == DbError::kLocked || e.code() == DbError::kUnsupported ||
            e.code() == DbError::kInterrupted)
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

Database::Database(Connection connection, std::string path, bool immutable)
    : connection_(std::make_unique<Connection>(std::move(connection))), db_(connection_->db.get()),
      path_(std::move(path)), immutable_(immutable) {}

Database::~Database() = default;

std::shared_ptr<Database> Database::open(const std::string& path, Mode mode) {
    const bool writeAheadLog = checkHeader(path);
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    Connection connection = connect(path, flags, path);
    try {
        verify(connection.db.get(), path);
    } catch (const DbError& e) {
        // A file kept with a write-ahead log needs a -shm file beside it,
        // which a folder that admits no new file refuses.
        if (!writeAheadLog || (e.code() != DbError::kReadOnly && e.code() != DbError::kCannotOpen))
            throw;
        return openWithoutLog(path, mode);
    }
    if (mode == Mode::ReadWrite)
        useRollbackJournal(connection.db.get());
    // The constructor is private, so make_shared cannot reach it.
    return std::shared_ptr<Database>(new Database(std::move(connection), path, false));
}

std::shared_ptr<Database> Database::openWithoutLog(const std::string& path, Mode mode) {
    if (mode == Mode::ReadWrite) {
        // A -shm file that can be read but not written still serves to read.
        try {
            Connection connection = connect(path, SQLITE_OPEN_READONLY, path);
            verify(connection.db.get(), path);
            return std::shared_ptr<Database>(new Database(std::move(connection), path, false));
        } catch (const DbError& e) {
            if (e.code() == DbError::kUnsupported || e.code() == DbError::kInterrupted)
                throw;
        }
    }
    if (hasPendingLog(path))
        throw DbError("El fichero " + quoted(path) + " tiene cambios guardados aparte, en " +
                          quoted(path + "-wal") +
                          ", que solo se leen en una carpeta que admita escritura: cópielo "
                          "junto con ese archivo a una carpeta suya.",
                      DbError::kCannotOpen);
    // With an empty log, the file alone holds everything: it is read as it
    // is, for reading only.
    Connection connection =
        connect(immutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path);
    verify(connection.db.get(), path);
    return std::shared_ptr<Database>(new Database(std::move(connection), path, true));
}

std::shared_ptr<Database> Database::openReader() const {
    Connection connection =
        immutable_ ? connect(immutableUri(path_), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path_)
                   : connect(path_, SQLITE_OPEN_READONLY, path_);
    return std::shared_ptr<Database>(new Database(std::move(connection), path_, immutable_));
}

std::shared_ptr<Database> Database::create(const std::string& path) {
    std::error_code ec;
    if (path.empty())
        throw DbError("Falta el nombre del fichero.", DbError::kCannotOpen);
    if (std::filesystem::exists(path, ec))
        throw DbError("El fichero " + quoted(path) + " ya existe.", DbError::kDatabaseExists);
    Connection connection = connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, path);
    std::shared_ptr<Database> database(new Database(std::move(connection), path, false));
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
