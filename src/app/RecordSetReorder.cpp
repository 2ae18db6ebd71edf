// Another order of a record set's rows, sorted here from the rows in
// memory while they still equal the file's.
#include "RecordSetSnapshot.h"

#include "RowSource.h"
#include "SqlName.h"
#include "stats/TwoHalves.h"

#include <numeric>

namespace kalnor {

using namespace recordset;

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

} // namespace kalnor
