#pragma once

#include <cstddef>
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

} // namespace kalnor
