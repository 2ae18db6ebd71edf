#pragma once

#include "Gather.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace kalnor {

// The row ids of a snapshot in its order. Tables number their rows from 1,
// so the ids nearly always fit in 32 bits: then they take four bytes a row
// (a million-row table saves 4 MB), and eight once any id does not.
class RowIds {
public:
    std::size_t size() const { return wide_ ? wideIds_.size() : narrow_.size(); }

    void reserve(std::size_t rows) {
        if (wide_)
            wideIds_.reserve(rows);
        else
            narrow_.reserve(rows);
    }

    long long operator[](std::size_t i) const { return wide_ ? wideIds_[i] : narrow_[i]; }

    // Known to grow from each id to the next: a table read in its stored
    // order. Kept as ids are appended, so nobody has to look again.
    bool ascending() const { return ascending_; }

    void push_back(long long id) {
        ascending_ = ascending_ && (size() == 0 || id > (*this)[size() - 1]);
        if (!wide_ && !fits(id))
            widen();
        if (wide_)
            wideIds_.push_back(id);
        else
            narrow_.push_back(static_cast<std::uint32_t>(id));
    }

    void set(std::size_t i, long long id) {
        ascending_ = false; // not worth checking: rows are seldom given new ids
        if (!wide_ && !fits(id))
            widen();
        if (wide_)
            wideIds_[i] = id;
        else
            narrow_[i] = static_cast<std::uint32_t>(id);
    }

    // Puts `rows` (distinct indices into these ids) in the order of their
    // ids. Tables number their rows densely, so each row mostly goes
    // straight to the slot its id names: one pass instead of comparing a
    // million rows (some 70 ms). Sparse ids are compared.
    void sortById(std::vector<int>& rows) const {
        const auto byId = [this](int a, int b) { return (*this)[a] < (*this)[b]; };
        if (std::is_sorted(rows.begin(), rows.end(), byId))
            return;
        const auto [low, high] = std::minmax_element(rows.begin(), rows.end(), byId);
        const long long first = (*this)[*low];
        const unsigned long long span = distance(first, (*this)[*high]);
        if (rows.size() >= kSlotsFrom && span < 2 * rows.size() && slotted(rows, first, span + 1))
            return;
        std::sort(rows.begin(), rows.end(), byId);
    }

    // The ids in another order, as `placement` places them.
    RowIds placed(const Placement& placement) const {
        RowIds out;
        out.wide_ = wide_;
        out.ascending_ = false;
        if (wide_)
            place(wideIds_, placement, out.wideIds_);
        else
            place(narrow_, placement, out.narrow_);
        return out;
    }

private:
    static constexpr std::size_t kSlotsFrom = 4096;

    // sortById through one slot per id from `first` on; false (and `rows`
    // as they were) when two rows share an id.
    bool slotted(std::vector<int>& rows, long long first, std::size_t slots) const {
        std::vector<int> slot(slots, -1);
        for (const int r : rows) {
            int& s = slot[distance(first, (*this)[static_cast<std::size_t>(r)])];
            if (s >= 0)
                return false;
            s = r;
        }
        std::size_t k = 0;
        for (const int s : slot) {
            if (s >= 0)
                rows[k++] = s;
        }
        return true;
    }

    // How far `to` lies above `from`: ids may span all 64 bits, so the
    // difference is taken unsigned, where it cannot overflow.
    static unsigned long long distance(long long from, long long to) {
        return static_cast<unsigned long long>(to) - static_cast<unsigned long long>(from);
    }

    static bool fits(long long id) {
        return id >= 0 && id <= std::numeric_limits<std::uint32_t>::max();
    }

    void widen() {
        wideIds_.assign(narrow_.begin(), narrow_.end());
        narrow_ = {};
        wide_ = true;
    }

    bool wide_ = false;
    bool ascending_ = true;
    std::vector<std::uint32_t> narrow_;
    std::vector<long long> wideIds_;
};

} // namespace kalnor
