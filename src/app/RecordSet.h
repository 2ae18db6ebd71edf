#pragma once

#include "Database.h"
#include "SnapshotColumn.h"
#include "stats/CellValue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalnor {

// A record set over a row source "SELECT * FROM X [ORDER BY [F]]": a snapshot
// of the rows in query order, cached in memory; every write goes to the file
// at once. Clones share the snapshot and have their own position.
// Every failure throws DbError.
class RecordSet {
public:
    RecordSet() = default; // closed
    RecordSet(std::shared_ptr<Database> db, std::string rowSource);

    bool isOpen() const { return static_cast<bool>(data_); }
    const std::string& rowSource() const;
    std::shared_ptr<Database> database() const { return db_; }
    void Refresh(); // re-runs the row source; position on the first row
    void Close();   // releases the snapshot (and the database when last)

    const std::vector<std::string>& FieldNames() const;
    int fieldIndex(const std::string& name) const; // -1 when none

    // Walking. EOF/BOF as in the classic record sets: past the last / before
    // the first row; both true on an empty set. Moving on from past the end
    // (or back from before the start) throws; MoveFirst/MoveLast on an empty
    // set do nothing. Any move drops an unfinished Edit/AddNew.
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    void Move(int rows); // Move(0) re-reads the current row from the file
    bool IsEOF() const;
    bool IsBOF() const;
    int RecordCount() const;      // rows not deleted
    int AbsolutePosition() const; // 0-based among live rows, -1 when none
    void setAbsolutePosition(int position);

    stats::CellValue Field(const std::string& name) const;
    stats::CellValue Field(int index) const;

    // Edit/AddNew ... SetField ... Update. Update writes the row and keeps the
    // position on it (after AddNew: on the new row, appended at the end).
    void Edit();
    void AddNew();
    void SetField(const std::string& name, const stats::CellValue& value);
    void SetField(int index, const stats::CellValue& value);
    void Update();
    void CancelUpdate();
    // Deletes the current row; the position stays on it until the next move.
    void Delete();
    // Writes values[k] into field `index` of the k-th live row in set order
    // (k < values.size() <= RecordCount()), all in one transaction: either
    // every value reaches the file or none does. `progress` is told the
    // rows written now and then. The position and any unfinished edit stay.
    void SetColumn(int index, const std::vector<stats::CellValue>& values,
                   const std::function<void(int)>& progress = {});

    RecordSet Clone() const;
    // A record set over another row source, as RecordSet(database(),
    // rowSource) would give. When it is this table in another order and the
    // file has not changed since this snapshot was read (but through it),
    // the rows are sorted from this snapshot instead of read again. This set
    // and its clones keep their snapshot. Then, when this set has no deleted
    // rows, `placement` (if given) is told where each of its rows went, so
    // what was read from it can follow; otherwise it is left empty.
    RecordSet Reordered(const std::string& rowSource,
                        std::shared_ptr<const Placement>* placement = nullptr) const;

    // Whole column of the live rows in set order (fast path for reading).
    std::vector<stats::CellValue> column(const std::string& name) const;
    std::vector<stats::CellValue> column(int index) const;
    // The same into `values`, whose memory is reused.
    void column(int index, std::vector<stats::CellValue>& values) const;
    // Calls visit(cell) for field `index` of each live row in set order until
    // it returns false; returns the cells visited (the one refused included).
    template <class Visit> std::size_t visitColumn(int index, Visit&& visit) const {
        std::optional<SnapshotColumn> placed;
        const SnapshotColumn& all = snapshotColumn(index, placed);
        const std::vector<unsigned char>& deleted = deletedRows();
        std::size_t visited = 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (deleted[i])
                continue;
            ++visited;
            if (!visit(all.get(i)))
                break;
        }
        return visited;
    }
    // Row id in the file of the current row (for models that address rows).
    long long currentRowId() const;
    // Revision counter bumped by every write through any clone; lets readers
    // tell an unchanged snapshot from a changed one.
    unsigned long long revision() const;

private:
    struct Snapshot;
    void requireLiveRow() const; // open, on a row, and that row not deleted
    // Throws when closed or when there is no field `index`.
    void requireField(int index) const;
    // Field `index` of the snapshot; throws when closed or out of range. The
    // rows of a sort still waiting to be placed are left waiting: the field
    // alone is placed, into `placed`.
    const SnapshotColumn& snapshotColumn(int index, std::optional<SnapshotColumn>& placed) const;
    const std::vector<unsigned char>& deletedRows() const; // one flag per snapshot row
    std::shared_ptr<Database> db_;
    std::shared_ptr<Snapshot> data_;
    int pos_ = -1; // index into the snapshot's rows
    bool editing_ = false;
    bool adding_ = false;
    std::vector<stats::CellValue> buffer_;
};

} // namespace kalnor
