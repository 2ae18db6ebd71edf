#pragma once

#include "stats/CellValue.h"

#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace kalnor {

// An open distribution file (SQLite). Owns the connection; shared by the
// record sets bound to it. Every failure throws DbError.
class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };

    // Opens an existing file; refuses a path that does not exist or is not a
    // database (an Access file is reported as such), and a schema that is not
    // Kalnor's (see comprobarEsquema). A file kept with a write-ahead log in
    // a folder that admits no new file opens for reading only, whatever the
    // mode (sqlite3_db_readonly then says so).
    static std::shared_ptr<Database> open(const std::string& path, Mode mode = Mode::ReadWrite);
    // Creates a new empty database file (fails if it exists).
    static std::shared_ptr<Database> create(const std::string& path);
    // True when the file starts with the header of a Microsoft Access (Jet or
    // ACE) database; false for anything else, missing files included.
    static bool isAccessFile(const std::string& path);

    // Another read-only connection to this file, for reading part of a big
    // table on another thread; none of open()'s checks are repeated.
    std::shared_ptr<Database> openReader() const;

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Statements without results; throws DbError with SQLite's message.
    void exec(const std::string& sql);

    std::vector<std::string> tableNames() const;                         // in creation order
    std::vector<std::string> fieldNames(const std::string& table) const; // in table order
    bool hasTable(const std::string& table) const;
    void addDoubleField(const std::string& table, const std::string& field);
    void dropField(const std::string& table, const std::string& field);

    // RAII transaction: commits in commit(), rolls back if destroyed first.
    // Takes the file's write lock at once (another process then waits or
    // fails with a "locked" DbError). Nested transactions become savepoints.
    // Record sets that wrote inside a transaction that rolls back still show
    // those writes: Refresh them.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        Database* db_;
        bool done_ = false;
        bool nested_ = false; // a savepoint inside an outer transaction
    };

private:
    struct Connection; // the SQLite connection and the clock of its statements
    static Connection connect(const std::string& name, int flags, const std::string& path);
    static std::shared_ptr<Database> openWithoutLog(const std::string& path, Mode mode);
    Database(Connection connection, std::string path, bool immutable);

    std::unique_ptr<Connection> connection_;
    sqlite3* db_;
    std::string path_;
    bool immutable_; // opened as a file nobody changes (no -shm, no -wal)
    int transactionDepth_ = 0;
};

// Quotes an identifier for SQL: "name" with inner quotes doubled.
std::string quoteIdentifier(const std::string& name);

} // namespace kalnor
