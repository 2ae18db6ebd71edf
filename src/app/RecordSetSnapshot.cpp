#include "RecordSetSnapshot.h"

#include "DbError.h"
#include "RowSource.h"
#include "SqlName.h"
#include "stats/TwoHalves.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <thread>

namespace kalnor {

namespace recordset {

int findName(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameSqlName(names[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

[[noreturn]] void throwNoCurrentRecord() {
    throw DbError("No hay ningún registro activo.", DbError::kNoCurrentRecord);
}

[[noreturn]] void throwNotOpen() {
    throw DbError("El origen de datos no está abierto.", DbError::kNotOpen);
}

[[noreturn]] void throwDeleted() {
    throw DbError("El registro se ha eliminado.", DbError::kRecordDeleted);
}

} // namespace recordset

using namespace recordset;

namespace {

// Rows reserved up front at most; a bigger table grows as it is read.
constexpr long long kReserveLimit = 1LL << 24;

// A read transaction on a connection for as long as it lives.
class ReadLock {
public:
    explicit ReadLock(Database& db) : db_(db) { db_.exec("BEGIN DEFERRED"); }
    ~ReadLock() {
        try {
            db_.exec("COMMIT");
        } catch (...) {
            // Nothing was written: ending the read cannot lose anything.
        }
    }
    ReadLock(const ReadLock&) = delete;
    ReadLock& operator=(const ReadLock&) = delete;

private:
    Database& db_;
};

// Appends the statement's rows (row id first, then the fields). With
// `onRow`, the statement already stands on its first row.
void readRows(Statement& query, RowIds& rowids, std::vector<SnapshotColumn>& columns,
              bool onRow = false) {
    const int count = static_cast<int>(columns.size());
    while (onRow || query.step()) {
        onRow = false;
        if (rowids.size() >= static_cast<std::size_t>(kEof - 1))
            throw DbError("La tabla tiene demasiados registros.", DbError::kGeneric);
        rowids.push_back(query.int64(0));
        for (int c = 0; c < count; ++c) {
            SnapshotColumn& column = columns[c];
            if (query.isNumber(c + 1))
                column.pushNumber(query.number(c + 1));
            else if (query.isNull(c + 1))
                column.pushNull();
            else
                column.push_back(query.value(c + 1));
        }
    }
}

} // namespace

std::shared_ptr<RecordSet::Snapshot> RecordSet::Snapshot::load(const std::shared_ptr<Database>& db,
                                                               const std::string& rowSource) {
    const RowSource source = RowSource::parse(rowSource);
    const std::vector<std::string> tableFields = db->fieldNames(source.table);

    auto data = std::make_shared<Snapshot>();
    data->db = db;
    data->rowSource = rowSource;
    data->table = quoteIdentifier(source.table);
    // Taken before reading: a change in between shows as a change later.
    data->stamp = data->fileStamp();
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        if (findName(tableFields, name) < 0) {
            data->rowidName = name;
            break;
        }
    }
    if (data->rowidName.empty())
        throw DbError("La tabla «" + source.table +
                          "» no se puede recorrer: sus campos ocultan "
                          "el número de registro.",
                      DbError::kBadRowSource);

    if (source.orderField) {
        if (findName(tableFields, *source.orderField) < 0)
            throw DbError("No se encuentra el campo «" + *source.orderField + "» en la tabla «" +
                              source.table + "».",
                          DbError::kFieldNotFound);
    }
    // The rows are read in stored order and sorted here, which costs far less
    // than letting SQLite sort them and gives words a Spanish order.
    const auto sql = [&](const std::string& where) {
        return "SELECT " + data->rowidName + ", * FROM " + data->table + where + " ORDER BY " +
               data->rowidName;
    };

    // Knowing the size first saves growing the columns row by row. The span
    // of row ids is read off the ends of the table's tree, where count(*)
    // would walk every page; after deletions it is only larger.
    const auto end = [&](const char* f) {
        return "(SELECT " + std::string(f) + '(' + data->rowidName + ") FROM " + data->table + ')';
    };
    Statement ends(db->handle(), "SELECT " + end("min") + ", " + end("max"));
    long long first = 0, last = -1;
    if (ends.step() && !ends.isNull(0) && !ends.isNull(1)) {
        first = ends.int64(0);
        last = ends.int64(1);
    }
    ends.reset();
    // Row ids may lie anywhere in 64 bits: their distance is taken unsigned.
    const unsigned long long idSpan = last >= first ? static_cast<unsigned long long>(last) -
                                                          static_cast<unsigned long long>(first)
                                                    : 0;
    // Nor can a table hold more rows than its file has room for (a row
    // takes at least four bytes of a page), however far apart its ids lie.
    const auto room = static_cast<unsigned long long>(data->pragma("PRAGMA page_count")) *
                      static_cast<unsigned long long>(data->pragma("PRAGMA page_size")) / 4;
    const auto bounded = [&](unsigned long long rows) {
        return static_cast<std::size_t>(
            std::min({rows, static_cast<unsigned long long>(kReserveLimit), room}));
    };
    const std::size_t expected =
        last < first ? 0 : bounded(idSpan < ULLONG_MAX ? idSpan + 1 : idSpan);

    // A big table is read in two halves of its row ids at once, the second
    // on another connection and thread. This connection's read lock, taken
    // before the other starts and held to the end, keeps both reading the
    // same state of the file. Only outside a transaction of this connection,
    // whose uncommitted rows the other could not see.
    const bool inHalves = expected >= kTwoHalvesFrom && sqlite3_get_autocommit(db->handle()) != 0;
    const long long middle = first + static_cast<long long>(idSpan / 2);
    std::optional<ReadLock> lock;
    if (inHalves)
        lock.emplace(*db);
    Statement query(db->handle(), inHalves ? sql(" WHERE " + data->rowidName + " <= ?1") : sql(""));
    if (inHalves)
        query.bind(1, middle);
    const int count = query.columnCount() - 1;
    for (int c = 0; c < count; ++c)
        data->fields.push_back(query.columnName(c + 1));
    std::vector<SnapshotColumn>& columns = data->columnsToWrite();
    RowIds& rowids = data->rowidsToWrite();
    columns.resize(static_cast<std::size_t>(count));
    rowids.reserve(expected);
    for (auto& column : columns)
        column.reserve(expected);
    if (!inHalves) {
        readRows(query, rowids, columns);
    } else {
        // The rows above the middle, read through `from`.
        const auto upperHalf = [&](Database& from) {
            Rows rows;
            rows.columns.resize(static_cast<std::size_t>(count));
            // Sized at once like the first half: grown row by row, the
            // columns were copied over and over as they doubled.
            const std::size_t above = bounded(idSpan - idSpan / 2);
            rows.rowids.reserve(above);
            for (auto& column : rows.columns)
                column.reserve(above);
            Statement rest(from.handle(), sql(" WHERE " + data->rowidName + " > ?1"));
            rest.bind(1, middle);
            if (rest.columnCount() - 1 != count)
                throw DbError("La tabla ha cambiado mientras se leía.", DbError::kGeneric);
            readRows(rest, rows.rowids, rows.columns);
            return rows;
        };
        // The first step takes the read lock (if BEGIN has not yet).
        const bool any = query.step();
        Rows second;
        std::exception_ptr failure;
        std::thread other([&] {
            try {
                second = upperHalf(*db->openReader());
            } catch (...) {
                failure = std::current_exception();
            }
        });
        try {
            if (any)
                readRows(query, rowids, columns, true);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        // The other connection could not read (the file locked, say): the
        // second half is read here.
        if (failure)
            second = upperHalf(*db);
        for (std::size_t i = 0; i < second.rowids.size(); ++i)
            rowids.push_back(second.rowids[i]);
        for (int c = 0; c < count; ++c)
            columns[c].append(second.columns[c]);
    }
    query.reset();
    lock.reset(); // the read is over
    if (source.orderField) {
        const int orderColumn = findName(data->fields, *source.orderField);
        if (orderColumn < 0)
            throw DbError("No se encuentra el campo «" + *source.orderField + "».",
                          DbError::kFieldNotFound);
        data->sortBy(orderColumn, source.descending);
    }
    data->deleted.assign(data->rowids().size(), 0);
    data->live = data->size();
    return data;
}

} // namespace kalnor
