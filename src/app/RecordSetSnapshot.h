// The rows a record set has read, shared by it, its clones and the sorts
// made from it. For the record set's own files only.
#pragma once

#include "Database.h"
#include "RecordSet.h"
#include "RowIds.h"
#include "SnapshotColumn.h"
#include "SqliteStatement.h"
#include "stats/TwoHalves.h"

#include <sqlite3.h>

#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalnor {

namespace recordset {

constexpr int kBof = -1;
constexpr int kEof = std::numeric_limits<int>::max();

// The field called `name`: its exact spelling first, then as SQL compares
// names; -1 when none.
int findName(const std::vector<std::string>& names, const std::string& name);

[[noreturn]] void throwNoCurrentRecord();
[[noreturn]] void throwNotOpen();
[[noreturn]] void throwDeleted();

// Rows read by one statement: row ids and one column per field.
struct Rows {
    RowIds rowids;
    std::vector<SnapshotColumn> columns;
};

} // namespace recordset

// The rows of one query, shared by a record set and its clones: row ids and
// values in query order (column by column, so a whole column reads fast),
// with deleted rows marked rather than removed so positions stay valid.
struct RecordSet::Snapshot : std::enable_shared_from_this<RecordSet::Snapshot> {
    using Rows = recordset::Rows;
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
            const int field = recordset::findName(fields, st.columnName(first + c));
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

} // namespace kalnor
