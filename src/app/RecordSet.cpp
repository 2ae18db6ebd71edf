#include "RecordSet.h"

#include "DbError.h"
#include "RowIds.h"
#include "RowSource.h"
#include "SnapshotColumn.h"
#include "SpanishSortKey.h"
#include "SqlName.h"
#include "SqliteStatement.h"
#include "ValuesByRowId.h"
#include "stats/TwoHalves.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <thread>

namespace kalnor {

using stats::CellValue;

namespace {

constexpr int kBof = -1;
constexpr int kEof = std::numeric_limits<int>::max();
// Rows reserved up front at most; a bigger table grows as it is read.
constexpr long long kReserveLimit = 1LL << 24;

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

// Rows read by one statement: row ids and one column per field.
struct Rows {
    RowIds rowids;
    std::vector<SnapshotColumn> columns;
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

[[noreturn]] void throwNoCurrentRecord() {
    throw DbError("No hay ningún registro activo.", DbError::kNoCurrentRecord);
}

[[noreturn]] void throwNotOpen() {
    throw DbError("El origen de datos no está abierto.", DbError::kNotOpen);
}

[[noreturn]] void throwDeleted() {
    throw DbError("El registro se ha eliminado.", DbError::kRecordDeleted);
}

} // namespace

// The rows of one query, shared by a record set and its clones: row ids and
// values in query order (column by column, so a whole column reads fast),
// with deleted rows marked rather than removed so positions stay valid.
struct RecordSet::Snapshot : std::enable_shared_from_this<RecordSet::Snapshot> {
    std::shared_ptr<Database> db;
    std::string rowSource;
    std::string table;     // quoted
    std::string rowidName; // how this table's row id is named
    std::vector<std::string> fields;
    std::vector<unsigned char> deleted; // one flag per row
    int live = 0;
    unsigned long long revision = 0;
    std::map<std::string, Statement> statements;

    // How the file stood when the rows were read: changes committed by other
    // connections, its schema, and the rows this connection has changed.
    struct FileStamp {
        long long dataVersion = 0;
        long long schemaVersion = 0;
        sqlite3_int64 changes = 0;
        bool operator==(const FileStamp&) const = default;
    };
    // Set while the rows are known to equal the file's; then another order
    // of them can be sorted here instead of read again.
    std::optional<FileStamp> stamp;

    int size() const { return static_cast<int>(deleted.size()); }

    // The values and row ids, placed first when a sort left them waiting.
    const std::vector<SnapshotColumn>& columns() const { return settled().columns_; }
    const RowIds& rowids() const { return settled().rowids_; }
    // The same for a change: a sorted snapshot still to be placed from
    // these rows is placed first, so it keeps the rows it was sorted from.
    std::vector<SnapshotColumn>& columnsToWrite() {
        beforeChange();
        return settled().columns_;
    }
    RowIds& rowidsToWrite() {
        beforeChange();
        return settled().rowids_;
    }

    // This snapshot's rows as `placement` places those of `from`, placed
    // only when first read. A sort's caller mostly needs the placement
    // alone (its lists follow it), and while nobody has read these rows, a
    // sort of them by something else starts again from `from`, whose rows
    // lie in stored order, instead of from rows scattered by this sort.
    void place(const std::shared_ptr<const Snapshot>& from,
               std::shared_ptr<const Placement> placement) {
        pending_ = Pending{from, std::move(placement)};
        auto& waiting = from->waiting_;
        std::erase_if(waiting, [](const std::weak_ptr<Snapshot>& w) { return w.expired(); });
        waiting.push_back(weak_from_this());
    }

    // Field `index` in this snapshot's order. While the snapshot waits to be
    // placed, that field alone is placed, into `placed`: reading one
    // variable's fields after a sort leaves a later sort its sequential rows.
    const SnapshotColumn& column(std::size_t index, std::optional<SnapshotColumn>& placed) const {
        if (!pending_)
            return columns_[index];
        placed = pending_->from->columns()[index].placed(*pending_->placement);
        return *placed;
    }

    // Field `index` as cells in this snapshot's order, each taken straight
    // from the row a waiting sort came from: no placed copy of the field is
    // made first. False (and `out` untouched) when nothing waits.
    bool placedCells(std::size_t index, std::vector<stats::CellValue>& out) const {
        if (!pending_)
            return false;
        const SnapshotColumn& source = pending_->from->columns()[index];
        const Placement& p = *pending_->placement;
        out.clear();
        out.resize(p.size());
        stats::CellValue* const cells = out.data();
        const int* const from = p.from.data();
        const std::uint32_t* const to = p.to.empty() ? nullptr : p.to.data();
        overHalves(p.size(), [&](int, std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k)
                cells[to ? to[k] : k] = source.get(static_cast<std::size_t>(from[k]));
        });
        return true;
    }

    // While this snapshot waits to be placed from another's rows and has
    // deleted none since: those rows and how they are placed here.
    struct Source {
        std::shared_ptr<const Snapshot> from;
        std::shared_ptr<const Placement> placement;
    };
    std::optional<Source> unplacedSource() const {
        if (!pending_ || live != size())
            return std::nullopt;
        return Source{pending_->from, pending_->placement};
    }

    long long pragma(const std::string& sql) {
        Statement& st = statement(sql);
        const long long value = st.step() ? st.int64(0) : 0;
        st.reset();
        return value;
    }

    // None inside an open transaction: what it wrote may still be rolled back.
    std::optional<FileStamp> fileStamp() {
        sqlite3* handle = db->handle();
        if (!sqlite3_get_autocommit(handle))
            return std::nullopt;
        return FileStamp{pragma("PRAGMA data_version"), pragma("PRAGMA schema_version"),
                         sqlite3_total_changes64(handle)};
    }

    bool matchesFile() {
        if (!stamp)
            return false;
        const auto now = fileStamp();
        return now && *now == *stamp;
    }

    // Called after a write whose rows were stored here, with the count of
    // changes before it. The stamp holds only if this connection had changed
    // nothing else, the write touched no other rows and is already committed.
    void wrote(sqlite3_int64 changesBefore) {
        sqlite3* handle = db->handle();
        const sqlite3_int64 after = sqlite3_total_changes64(handle);
        if (stamp && stamp->changes == changesBefore && sqlite3_get_autocommit(handle) &&
            after - changesBefore == sqlite3_changes64(handle))
            stamp->changes = after;
        else
            stamp.reset();
    }

    Statement& statement(const std::string& sql) {
        auto it = statements.find(sql);
        if (it == statements.end())
            it = statements.emplace(sql, Statement(db->handle(), sql)).first;
        return it->second;
    }

    // Stores the values a statement returned for row `index`, starting at
    // column `first`; maps by name if the table changed since the query.
    void store(int index, const Statement& st, int first) {
        const int count = st.columnCount() - first;
        if (count == static_cast<int>(fields.size())) {
            for (int c = 0; c < count; ++c)
                columnsToWrite()[c].set(index, st.value(first + c));
            return;
        }
        for (int c = 0; c < count; ++c) {
            const int field = findName(fields, st.columnName(first + c));
            if (field >= 0)
                columnsToWrite()[field].set(index, st.value(first + c));
        }
    }

    // A sort still waiting to place these rows holds flags of its own, so
    // a deletion here leaves it as it was.
    void markDeleted(int index) {
        if (!deleted[index]) {
            deleted[index] = 1;
            --live;
            liveRows.reset();
        }
        ++revision;
    }

    // The snapshot index of each live row, made when first asked after a
    // deletion, so a grid over a big table with deleted rows finds a row by
    // its position without walking the table for every cell it shows.
    const std::vector<int>& liveIndex() {
        if (!liveRows || liveRows->size() != static_cast<std::size_t>(live)) {
            liveRows.emplace();
            liveRows->reserve(static_cast<std::size_t>(live));
            for (int i = 0; i < size(); ++i) {
                if (!deleted[i])
                    liveRows->push_back(i);
            }
        }
        return *liveRows;
    }
    std::optional<std::vector<int>> liveRows; // none until asked, or after a deletion

    // Numbers by value, words in Spanish order, empty cells first; equal
    // keys keep the stored order.
    void sortBy(int column, bool descending) {
        keptSorts_.clear();
        const Placement placement = columns()[column].sortedPlacement(descending);
        Rows rows = placedRows(*this, placement);
        columns_ = std::move(rows.columns);
        rowids_ = std::move(rows.rowids);
    }

    // Runs a row source and reads all its rows.
    static std::shared_ptr<Snapshot> load(const std::shared_ptr<Database>& db,
                                          const std::string& rowSource);

private:
    // Every column and the row ids placed anew.
    static Rows placedRows(const Snapshot& from, const Placement& placement) {
        Rows rows;
        rows.columns.reserve(from.columns().size());
        for (const auto& column : from.columns())
            rows.columns.push_back(column.placed(placement));
        rows.rowids = from.rowids().placed(placement);
        return rows;
    }

    // Places the rows a sort left waiting.
    const Snapshot& settled() const {
        if (pending_) {
            Rows rows = placedRows(*pending_->from, *pending_->placement);
            columns_ = std::move(rows.columns);
            rowids_ = std::move(rows.rowids);
            pending_.reset();
        }
        return *this;
    }
    Snapshot& settled() {
        std::as_const(*this).settled();
        return *this;
    }

    // Before these rows change, every snapshot still waiting to be placed
    // from them is placed, and the sorts kept of them are dropped.
    void beforeChange() {
        keptSorts_.clear();
        for (const std::weak_ptr<Snapshot>& w : waiting_) {
            if (const auto other = w.lock())
                other->settled();
        }
        waiting_.clear();
    }

    // Placed when first read, so mutable.
    mutable std::vector<SnapshotColumn> columns_;
    mutable RowIds rowids_;
    struct Pending {
        std::shared_ptr<const Snapshot> from;
        std::shared_ptr<const Placement> placement;
    };
    mutable std::optional<Pending> pending_;
    // Snapshots waiting to be placed from these rows.
    mutable std::vector<std::weak_ptr<Snapshot>> waiting_;

public:
    // How a sort by one field placed these rows, kept while they stay as
    // they are: a table whose two variables are sorted by turns (a quantile
    // of X, then one of Y) sorts each of them once. Only for every row in
    // stored order, and only the last two sorts.
    std::shared_ptr<const Placement> keptSort(int column, bool descending) const {
        for (const KeptSort& k : keptSorts_) {
            if (k.revision == revision && k.column == column && k.descending == descending)
                return k.placement;
        }
        return nullptr;
    }
    void keepSort(int column, bool descending, std::shared_ptr<const Placement> placement) const {
        std::erase_if(keptSorts_, [this](const KeptSort& k) { return k.revision != revision; });
        if (keptSorts_.size() == 2)
            keptSorts_.erase(keptSorts_.begin());
        keptSorts_.push_back({revision, column, descending, std::move(placement)});
    }

private:
    struct KeptSort {
        unsigned long long revision; // these rows' revision when sorted
        int column;
        bool descending;
        std::shared_ptr<const Placement> placement;
    };
    mutable std::vector<KeptSort> keptSorts_;
};

RecordSet::RecordSet(std::shared_ptr<Database> db, std::string rowSource) : db_(std::move(db)) {
    if (!db_)
        throwNotOpen();
    data_ = Snapshot::load(db_, rowSource);
    pos_ = data_->live > 0 ? 0 : kBof;
}

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
    const long long span = last >= first && last - first < kReserveLimit ? last - first + 1
                           : last >= first                               ? kReserveLimit
                                                                         : 0;
    const auto expected = static_cast<std::size_t>(span);

    // A big table is read in two halves of its row ids at once, the second
    // on another connection and thread. This connection's read lock, taken
    // before the other starts and held to the end, keeps both reading the
    // same state of the file. Only outside a transaction of this connection,
    // whose uncommitted rows the other could not see.
    const bool inHalves = expected >= kTwoHalvesFrom && sqlite3_get_autocommit(db->handle()) != 0;
    const long long middle = first + (last - first) / 2;
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
            const auto above = static_cast<std::size_t>(std::min(last - middle, kReserveLimit));
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

const std::string& RecordSet::rowSource() const {
    static const std::string none;
    return data_ ? data_->rowSource : none;
}

void RecordSet::Refresh() {
    if (!data_)
        throwNotOpen();
    // The counter goes on, so readers that cached the old rows see a change.
    const auto revision = data_->revision;
    data_ = Snapshot::load(db_, data_->rowSource);
    data_->revision = revision + 1;
    pos_ = data_->live > 0 ? 0 : kBof;
    editing_ = adding_ = false;
    buffer_.clear();
}

void RecordSet::Close() {
    data_.reset();
    db_.reset();
    pos_ = kBof;
    editing_ = adding_ = false;
    buffer_.clear();
}

const std::vector<std::string>& RecordSet::FieldNames() const {
    static const std::vector<std::string> none;
    return data_ ? data_->fields : none;
}

int RecordSet::fieldIndex(const std::string& name) const {
    return data_ ? findName(data_->fields, name) : -1;
}

// --- Walking -------------------------------------------------------------

namespace {

int nextLive(const std::vector<unsigned char>& deleted, int from) {
    for (int i = from + 1; i < static_cast<int>(deleted.size()); ++i) {
        if (!deleted[i])
            return i;
    }
    return kEof;
}

int previousLive(const std::vector<unsigned char>& deleted, int from) {
    for (int i = std::min(from, static_cast<int>(deleted.size())) - 1; i >= 0; --i) {
        if (!deleted[i])
            return i;
    }
    return kBof;
}

} // namespace

void RecordSet::MoveFirst() {
    if (!data_)
        throwNotOpen();
    editing_ = adding_ = false;
    const int first = nextLive(data_->deleted, -1);
    pos_ = first == kEof ? kBof : first; // empty: stays before the start
}

void RecordSet::MoveLast() {
    if (!data_)
        throwNotOpen();
    editing_ = adding_ = false;
    const int last = previousLive(data_->deleted, data_->size());
    pos_ = last == kBof ? kEof : last; // empty: stays past the end
}

void RecordSet::MoveNext() {
    if (IsEOF())
        throwNoCurrentRecord();
    editing_ = adding_ = false;
    pos_ = nextLive(data_->deleted, pos_);
}

void RecordSet::MovePrevious() {
    if (IsBOF())
        throwNoCurrentRecord();
    editing_ = adding_ = false;
    pos_ = previousLive(data_->deleted, pos_);
}

void RecordSet::Move(int rows) {
    if (!data_)
        throwNotOpen();
    if (rows == 0) {
        if (pos_ == kBof || pos_ == kEof || data_->live == 0)
            throwNoCurrentRecord();
        editing_ = adding_ = false;
        if (data_->deleted[pos_])
            throwDeleted();
        Statement& st = data_->statement("SELECT * FROM " + data_->table + " WHERE " +
                                         data_->rowidName + " = ?1");
        st.bind(1, data_->rowids()[pos_]);
        const bool found = st.step();
        if (found)
            data_->store(pos_, st, 0);
        st.reset();
        if (!found) { // removed by another process in the meantime
            data_->markDeleted(pos_);
            throwDeleted();
        }
        return;
    }
    for (int k = 0; k < rows; ++k) {
        MoveNext();
        if (pos_ == kEof)
            return;
    }
    for (int k = 0; k > rows; --k) {
        MovePrevious();
        if (pos_ == kBof)
            return;
    }
}

// An empty set is at both ends, except while the position is still on the
// row just deleted (as after deleting the only row): then neither, until
// the next move.
bool RecordSet::IsEOF() const {
    if (!data_)
        throwNotOpen();
    return pos_ == kEof || (data_->live == 0 && pos_ == kBof);
}

bool RecordSet::IsBOF() const {
    if (!data_)
        throwNotOpen();
    return pos_ == kBof || (data_->live == 0 && pos_ == kEof);
}

int RecordSet::RecordCount() const {
    if (!data_)
        throwNotOpen();
    return data_->live;
}

int RecordSet::AbsolutePosition() const {
    if (!data_ || pos_ == kBof || pos_ == kEof || data_->deleted[pos_])
        return -1;
    if (data_->live == data_->size())
        return pos_;
    const std::vector<int>& rows = data_->liveIndex();
    return static_cast<int>(std::lower_bound(rows.begin(), rows.end(), pos_) - rows.begin());
}

void RecordSet::setAbsolutePosition(int position) {
    if (!data_)
        throwNotOpen();
    if (position < 0 || position >= data_->live)
        throwNoCurrentRecord();
    editing_ = adding_ = false;
    if (data_->live == data_->size()) {
        pos_ = position;
        return;
    }
    pos_ = data_->liveIndex()[static_cast<std::size_t>(position)];
}

// --- Fields --------------------------------------------------------------

CellValue RecordSet::Field(const std::string& name) const {
    const int index = fieldIndex(name);
    if (!data_)
        throwNotOpen();
    if (index < 0)
        throw DbError("No se encuentra el campo «" + name + "».", DbError::kFieldNotFound);
    return Field(index);
}

CellValue RecordSet::Field(int index) const {
    if (!data_)
        throwNotOpen();
    if (index < 0 || index >= static_cast<int>(data_->fields.size()))
        throw DbError("No se encuentra el campo número " + std::to_string(index) + ".",
                      DbError::kFieldNotFound);
    if (editing_ || adding_)
        return buffer_[index];
    if (pos_ == kBof || pos_ == kEof)
        throwNoCurrentRecord();
    if (data_->deleted[pos_])
        throwDeleted();
    return data_->columns()[index].get(pos_);
}

std::vector<CellValue> RecordSet::column(const std::string& name) const {
    const int index = fieldIndex(name);
    if (!data_)
        throwNotOpen();
    if (index < 0)
        throw DbError("No se encuentra el campo «" + name + "».", DbError::kFieldNotFound);
    return column(index);
}

const SnapshotColumn& RecordSet::snapshotColumn(int index,
                                                std::optional<SnapshotColumn>& placed) const {
    if (!data_)
        throwNotOpen();
    if (index < 0 || index >= static_cast<int>(data_->fields.size()))
        throw DbError("No se encuentra el campo número " + std::to_string(index) + ".",
                      DbError::kFieldNotFound);
    return data_->column(static_cast<std::size_t>(index), placed);
}

std::vector<CellValue> RecordSet::column(int index) const {
    std::vector<CellValue> values;
    column(index, values);
    return values;
}

void RecordSet::column(int index, std::vector<CellValue>& values) const {
    if (data_ && data_->live == data_->size() && index >= 0 &&
        index < static_cast<int>(data_->fields.size()) &&
        data_->placedCells(static_cast<std::size_t>(index), values))
        return;
    std::optional<SnapshotColumn> placed;
    const SnapshotColumn& all = snapshotColumn(index, placed);
    values.clear();
    values.reserve(static_cast<std::size_t>(data_->live));
    const bool anyDeleted = data_->live != data_->size();
    for (int i = 0; i < data_->size(); ++i) {
        if (!anyDeleted || !data_->deleted[i])
            values.push_back(all.get(i));
    }
}

const std::vector<unsigned char>& RecordSet::deletedRows() const {
    return data_->deleted;
}

long long RecordSet::currentRowId() const {
    if (!data_)
        throwNotOpen();
    if (pos_ == kBof || pos_ == kEof)
        throwNoCurrentRecord();
    return data_->rowids()[pos_];
}

unsigned long long RecordSet::revision() const {
    return data_ ? data_->revision : 0;
}

// --- Writing -------------------------------------------------------------

void RecordSet::requireLiveRow() const {
    if (!data_)
        throwNotOpen();
    if (pos_ == kBof || pos_ == kEof || data_->live == 0)
        throwNoCurrentRecord();
    if (data_->deleted[pos_])
        throwDeleted();
}

void RecordSet::Edit() {
    requireLiveRow();
    buffer_.clear();
    for (const auto& column : data_->columns())
        buffer_.push_back(column.get(pos_));
    editing_ = true;
    adding_ = false;
}

void RecordSet::AddNew() {
    if (!data_)
        throwNotOpen();
    buffer_.assign(data_->fields.size(), CellValue());
    adding_ = true;
    editing_ = false;
}

void RecordSet::SetField(const std::string& name, const CellValue& value) {
    const int index = fieldIndex(name);
    if (!data_)
        throwNotOpen();
    if (index < 0)
        throw DbError("No se encuentra el campo «" + name + "».", DbError::kFieldNotFound);
    SetField(index, value);
}

void RecordSet::SetField(int index, const CellValue& value) {
    if (!data_)
        throwNotOpen();
    if (index < 0 || index >= static_cast<int>(data_->fields.size()))
        throw DbError("No se encuentra el campo número " + std::to_string(index) + ".",
                      DbError::kFieldNotFound);
    if (!editing_ && !adding_)
        throw DbError("No se puede modificar un campo sin empezar antes a editar o añadir el "
                      "registro.",
                      DbError::kNotUpdating);
    // An empty value is written as an empty cell.
    buffer_[index] = value.isEmpty() ? CellValue::null() : value;
}

void RecordSet::Update() {
    if (!data_)
        throwNotOpen();
    if (!editing_ && !adding_)
        throw DbError("No hay ninguna edición ni registro nuevo que guardar.",
                      DbError::kNotUpdating);
    Snapshot& data = *data_;
    const int count = static_cast<int>(data.fields.size());

    if (adding_) {
        std::string names;
        std::string marks;
        std::vector<int> written;
        for (int c = 0; c < count; ++c) {
            if (buffer_[c].isEmpty())
                continue;
            written.push_back(c);
            names += (names.empty() ? "" : ", ") + quoteIdentifier(data.fields[c]);
            marks += (marks.empty() ? "?" : ", ?") + std::to_string(written.size());
        }
        const std::string values =
            written.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + marks + ")";
        Statement& st = data.statement("INSERT INTO " + data.table + values + " RETURNING " +
                                       data.rowidName + ", *");
        for (std::size_t k = 0; k < written.size(); ++k)
            st.bind(static_cast<int>(k + 1), buffer_[written[k]]);
        const sqlite3_int64 before = sqlite3_total_changes64(db_->handle());
        const bool returned = st.step();
        data.rowidsToWrite().push_back(returned ? st.int64(0) : 0);
        for (auto& column : data.columnsToWrite())
            column.push_back(CellValue::null());
        data.deleted.push_back(0);
        if (returned)
            data.store(data.size() - 1, st, 1);
        while (st.step()) {
        }
        st.reset();
        data.wrote(before);
        ++data.live;
        ++data.revision;
        pos_ = data.size() - 1;
    } else {
        std::string assignments;
        std::vector<int> written;
        for (int c = 0; c < count; ++c) {
            if (buffer_[c] == data.columns()[c].get(pos_))
                continue;
            written.push_back(c);
            assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(data.fields[c]) +
                           " = ?" + std::to_string(written.size());
        }
        if (!written.empty()) {
            // The row id comes back too: a field may be the row id itself.
            Statement& st =
                data.statement("UPDATE " + data.table + " SET " + assignments + " WHERE " +
                               data.rowidName + " = ?" + std::to_string(written.size() + 1) +
                               " RETURNING " + data.rowidName + ", *");
            for (std::size_t k = 0; k < written.size(); ++k)
                st.bind(static_cast<int>(k + 1), buffer_[written[k]]);
            st.bind(static_cast<int>(written.size() + 1), data.rowids()[pos_]);
            const sqlite3_int64 before = sqlite3_total_changes64(db_->handle());
            const bool found = st.step();
            if (found) {
                data.rowidsToWrite().set(static_cast<std::size_t>(pos_), st.int64(0));
                data.store(pos_, st, 1);
            }
            while (st.step()) {
            }
            st.reset();
            if (!found) { // removed by another process in the meantime
                editing_ = false;
                data.stamp.reset();
                data.markDeleted(pos_);
                throwDeleted();
            }
            data.wrote(before);
            ++data.revision;
        }
    }
    editing_ = adding_ = false;
    buffer_.clear();
}

void RecordSet::CancelUpdate() {
    if (!data_)
        throwNotOpen();
    if (!editing_ && !adding_)
        throw DbError("No hay ninguna edición ni registro nuevo que cancelar.",
                      DbError::kNotUpdating);
    editing_ = adding_ = false;
    buffer_.clear();
}

void RecordSet::Delete() {
    requireLiveRow();
    editing_ = adding_ = false;
    buffer_.clear();
    Statement& st =
        data_->statement("DELETE FROM " + data_->table + " WHERE " + data_->rowidName + " = ?1");
    st.bind(1, data_->rowids()[pos_]);
    const sqlite3_int64 before = sqlite3_total_changes64(db_->handle());
    st.run();
    data_->wrote(before);
    data_->markDeleted(pos_);
}

void RecordSet::SetColumn(int index, const std::vector<CellValue>& values,
                          const std::function<void(int)>& progress) {
    if (!data_)
        throwNotOpen();
    Snapshot& data = *data_;
    if (index < 0 || index >= static_cast<int>(data.fields.size()))
        throw DbError("No se encuentra el campo número " + std::to_string(index) + ".",
                      DbError::kFieldNotFound);
    if (values.size() > static_cast<std::size_t>(data.live))
        throw DbError("Hay más valores que registros.", DbError::kGeneric);
    // The live rows the values go to, in set order.
    std::vector<int> rows;
    rows.reserve(values.size());
    for (int i = 0; i < data.size() && rows.size() < values.size(); ++i) {
        if (!data.deleted[i])
            rows.push_back(i);
    }
    // One UPDATE walks the table in file order and takes each row's value
    // from a function of its row id.
    const RowIds& rowids = data.rowids();
    std::vector<int> byId = rows;
    rowids.sortById(byId);
    std::vector<std::uint32_t> valueOf(static_cast<std::size_t>(data.size()));
    for (std::size_t k = 0; k < rows.size(); ++k)
        valueOf[static_cast<std::size_t>(rows[k])] = static_cast<std::uint32_t>(k);
    std::vector<std::pair<long long, std::size_t>> ids(rows.size());
    for (std::size_t k = 0; k < byId.size(); ++k)
        ids[k] = {rowids[static_cast<std::size_t>(byId[k])],
                  valueOf[static_cast<std::size_t>(byId[k])]};
    constexpr std::size_t kEvery = 1 << 16;
    const sqlite3_int64 before = sqlite3_total_changes64(db_->handle());
    {
        Database::Transaction transaction(*db_);
        ValuesByRowId source(db_->handle(), std::move(ids), values, progress, kEvery);
        const std::string field = quoteIdentifier(data.fields[index]);
        Statement st(db_->handle(), "UPDATE " + data.table + " SET " + field + " = " +
                                        ValuesByRowId::name() + "(" + data.rowidName + ", " +
                                        field + ")");
        try {
            st.run();
        } catch (...) {
            source.rethrow();
            throw;
        }
        transaction.commit();
    }
    // Only now, once the file holds them, the snapshot takes the values.
    SnapshotColumn& column = data.columnsToWrite()[index];
    for (std::size_t k = 0; k < rows.size(); ++k)
        column.set(rows[k], values[k]);
    ++data.revision;
    // The rows still equal the file's when nothing else was changed.
    const sqlite3_int64 after = sqlite3_total_changes64(db_->handle());
    if (data.stamp && data.stamp->changes == before && sqlite3_get_autocommit(db_->handle()) &&
        after - before == static_cast<sqlite3_int64>(rows.size()))
        data.stamp->changes = after;
    else
        data.stamp.reset();
    if (progress)
        progress(static_cast<int>(rows.size()));
}

namespace {

// The place each row takes under `p`, by row; rows it does not move keep
// kUnplaced.
constexpr std::uint32_t kUnplaced = ~0u;
std::vector<std::uint32_t> placesOf(const Placement& p, std::size_t rows) {
    std::vector<std::uint32_t> places(rows, kUnplaced);
    for (std::size_t k = 0; k < p.size(); ++k)
        places[static_cast<std::size_t>(p.from[k])] =
            p.to.empty() ? static_cast<std::uint32_t>(k) : p.to[k];
    return places;
}

} // namespace

RecordSet RecordSet::Reordered(const std::string& rowSource,
                               std::shared_ptr<const Placement>* placement) const {
    if (placement)
        placement->reset();
    if (!data_)
        throwNotOpen();
    Snapshot& data = *data_;
    const RowSource source = RowSource::parse(rowSource);
    const int orderColumn = source.orderField ? findName(data.fields, *source.orderField) : -1;
    const bool reusable = quoteIdentifier(source.table) == data.table &&
                          (!source.orderField || orderColumn >= 0) && data.matchesFile();
    if (!reusable)
        return RecordSet(db_, rowSource);

    // Sorted from the rows this set was sorted from while it has not been
    // placed: they lie in stored order, so the keys are read in sequence.
    const std::optional<Snapshot::Source> earlier = data.unplacedSource();
    const std::shared_ptr<const Snapshot> from =
        earlier ? earlier->from : std::shared_ptr<const Snapshot>(data_);
    const Snapshot& rowsFrom = *from;

    // Every row live and in stored order: a sort of them by a field is
    // kept for the next time the same sort is asked of the same rows.
    const bool keepable =
        orderColumn >= 0 && rowsFrom.live == rowsFrom.size() && rowsFrom.rowids().ascending();
    std::shared_ptr<const Placement> placed =
        keepable ? rowsFrom.keptSort(orderColumn, source.descending) : nullptr;
    if (!placed) {
        // The live rows in stored order, as a fresh read would give them.
        std::vector<int> rows(static_cast<std::size_t>(rowsFrom.live));
        if (rowsFrom.live == rowsFrom.size()) {
            std::iota(rows.begin(), rows.end(), 0);
        } else {
            std::size_t k = 0;
            for (int i = 0; i < rowsFrom.size(); ++i) {
                if (!rowsFrom.deleted[i])
                    rows[k++] = i;
            }
        }
        const RowIds& ids = rowsFrom.rowids();
        if (!ids.ascending())
            ids.sortById(rows);
        Placement order;
        if (orderColumn >= 0)
            order =
                rowsFrom.columns()[orderColumn].sortedPlacement(std::move(rows), source.descending);
        else
            order.from = std::move(rows);
        placed = std::make_shared<const Placement>(std::move(order));
        if (keepable)
            rowsFrom.keepSort(orderColumn, source.descending, placed);
    }

    auto next = std::make_shared<Snapshot>();
    next->db = data.db;
    next->rowSource = rowSource;
    next->table = data.table;
    next->rowidName = data.rowidName;
    next->fields = data.fields;
    next->deleted.assign(placed->size(), 0);
    next->place(from, placed);
    next->live = next->size();
    next->revision = data.revision + 1;
    next->stamp = data.stamp;

    RecordSet sorted;
    sorted.db_ = db_;
    sorted.data_ = std::move(next);
    sorted.pos_ = sorted.data_->live > 0 ? 0 : kBof;
    if (placement && data.live == data.size()) {
        if (!earlier) {
            *placement = placed;
        } else {
            // Where each row of this set goes: the earlier placement took
            // row from[k] of the earlier rows to this set's place to[k], and
            // the new sort places that row anew. Both are walked in their
            // own order, which for rows placed from stored order is the
            // rows' order too: no read jumps about a big table.
            const std::vector<std::uint32_t> places = placesOf(*placed, rowsFrom.size());
            const Placement& before = *earlier->placement;
            Placement moves;
            moves.from.resize(before.size());
            moves.to.resize(before.size());
            bool whole[2] = {true, true};
            overHalves(before.size(), [&](int h, std::size_t begin, std::size_t end) {
                for (std::size_t k = begin; k < end; ++k) {
                    moves.from[k] =
                        before.to.empty() ? static_cast<int>(k) : static_cast<int>(before.to[k]);
                    moves.to[k] = places[static_cast<std::size_t>(before.from[k])];
                    whole[h] = whole[h] && moves.to[k] != kUnplaced;
                }
            });
            moves.keyRuns = placed->keyRuns; // the keys' new order is the same
            if (whole[0] && whole[1])
                *placement = std::make_shared<const Placement>(std::move(moves));
        }
    }
    return sorted;
}

RecordSet RecordSet::Clone() const {
    if (!data_)
        throwNotOpen();
    RecordSet copy;
    copy.db_ = db_;
    copy.data_ = data_;
    copy.pos_ = nextLive(data_->deleted, -1);
    if (copy.pos_ == kEof)
        copy.pos_ = kBof;
    return copy;
}

} // namespace kalnor
