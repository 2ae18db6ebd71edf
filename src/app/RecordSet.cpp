#include "RecordSet.h"

#include "DbError.h"
#include "RecordSetSnapshot.h"
#include "SqlName.h"
#include "SqliteStatement.h"
#include "ValuesByRowId.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>

namespace kalnor {

using stats::CellValue;

using namespace recordset;

RecordSet::RecordSet(std::shared_ptr<Database> db, std::string rowSource) : db_(std::move(db)) {
    if (!db_)
        throwNotOpen();
    data_ = Snapshot::load(db_, rowSource);
    pos_ = data_->live > 0 ? 0 : kBof;
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
    requireField(index);
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

void RecordSet::requireField(int index) const {
    if (!data_)
        throwNotOpen();
    if (index < 0 || index >= static_cast<int>(data_->fields.size()))
        throw DbError("No se encuentra el campo número " + std::to_string(index) + ".",
                      DbError::kFieldNotFound);
}

const SnapshotColumn& RecordSet::snapshotColumn(int index,
                                                std::optional<SnapshotColumn>& placed) const {
    requireField(index);
    return data_->column(static_cast<std::size_t>(index), placed);
}

std::vector<CellValue> RecordSet::column(int index) const {
    std::vector<CellValue> values;
    column(index, values);
    return values;
}

void RecordSet::column(int index, std::vector<CellValue>& values) const {
    requireField(index);
    if (data_->live == data_->size() && data_->placedCells(static_cast<std::size_t>(index), values))
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
    requireField(index);
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
    requireField(index);
    Snapshot& data = *data_;
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
