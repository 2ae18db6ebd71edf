#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kalnor {

// `to` takes from's entries in another order: entry k is from[order[k]].
// The reads are scattered over a big table, so the entries a few steps ahead
// are asked for early, which hides most of the wait for memory.
template <class T>
void gather(const std::vector<T>& from, const std::vector<int>& order, std::vector<T>& to) {
    constexpr std::size_t kAhead = 16;
    to.resize(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + kAhead < order.size())
            __builtin_prefetch(&from[static_cast<std::size_t>(order[k + kAhead])]);
        to[k] = from[static_cast<std::size_t>(order[k])];
    }
}

// Where rows go in a new order: row from[k] goes to place to[k], or to place
// k when `to` is empty. A sort by a few distinct values gives the places of
// rows read in order: each value's rows then fill one run of places, so the
// rows are read in sequence and written as a few sequential streams, several
// times faster than a gather that reads all over a big table.
struct Placement {
    std::vector<int> from;
    std::vector<std::uint32_t> to;

    std::size_t size() const { return from.size(); }
    // The new order as a gather takes it: place j holds row order()[j].
    std::vector<int> order() const {
        if (to.empty())
            return from;
        std::vector<int> order(from.size());
        for (std::size_t k = 0; k < from.size(); ++k)
            order[to[k]] = from[k];
        return order;
    }
};

// `out` takes in's entries as `p` places them. `Out` is a std::vector or
// a type derived from one.
template <class T, class Out> void place(const std::vector<T>& in, const Placement& p, Out& out) {
    out.clear(); // nothing old is copied, and a list forgets what was read from it
    if (p.to.empty()) {
        gather(in, p.from, static_cast<std::vector<T>&>(out));
        return;
    }
    out.resize(p.size());
    T* const o = out.data();
    for (std::size_t k = 0; k < p.size(); ++k)
        o[p.to[k]] = in[static_cast<std::size_t>(p.from[k])];
}

} // namespace kalnor
