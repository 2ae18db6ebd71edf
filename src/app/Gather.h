#pragma once

#include "stats/TwoHalves.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kalnor {

// A run of places in a new order that all hold one number.
struct NumberRun {
    double value;
    std::uint32_t count;
};

// Where rows go in a new order: row from[k] goes to place to[k], or to place
// k when `to` is empty. A sort by a few distinct values gives the places of
// rows read in order: each value's rows then fill one run of places, so the
// rows are read in sequence and written as a few sequential streams, several
// times faster than a gather that reads all over a big table.
struct Placement {
    std::vector<int> from;
    std::vector<std::uint32_t> to;
    // When the sort that made these places had only numbers for keys: the
    // keys in the new order, as runs of equal numbers. A list of the key's
    // own cells is then written in sequence instead of gathered.
    std::vector<NumberRun> keyRuns;

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
// a type derived from one. A big table is placed in two halves at once: the
// places are all different, so the halves never write the same entry.
template <class In, class Out> void place(const In& in, const Placement& p, Out& out) {
    using Vector = std::vector<typename In::value_type>;
    // Nothing old is copied on growing, and a buffer of the right size is
    // written over without being cleared first; a list forgets what was
    // read from it.
    if (out.size() != p.size())
        out.clear();
    if constexpr (requires { out.forget(); })
        out.forget();
    const std::size_t n = p.size();
    static_cast<Vector&>(out).resize(n);
    auto* const o = static_cast<Vector&>(out).data();
    const auto* const i = in.data();
    const int* const from = p.from.data();
    const std::uint32_t* const to = p.to.empty() ? nullptr : p.to.data();
    overHalves(n, [&](int, std::size_t begin, std::size_t end) {
        // Reads scattered over a big table (a gather, or rows sorted by
        // something else) are asked for a few steps early, which hides most
        // of the wait for memory and costs nothing when they come in order.
        constexpr std::size_t kAhead = 16;
        for (std::size_t k = begin; k < end; ++k) {
            if (k + kAhead < end)
                __builtin_prefetch(&i[static_cast<std::size_t>(from[k + kAhead])]);
            o[to ? to[k] : k] = i[static_cast<std::size_t>(from[k])];
        }
    });
}

} // namespace kalnor
