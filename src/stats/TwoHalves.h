#pragma once

#include <cstddef>
#include <exception>
#include <thread>

namespace kalnor {

// From this many entries on, a pass over a table is worth a second core.
constexpr std::size_t kTwoHalvesFrom = 200000;

// Whether a pass over `n` entries runs in two halves at once.
inline bool inTwoHalves(std::size_t n) {
    return n >= kTwoHalvesFrom && std::thread::hardware_concurrency() > 1;
}

// Calls work(0) and work(1) at once, the second on another thread, when
// `together`; one after the other otherwise. An exception thrown by either
// reaches the caller once both have ended.
template <class Work> void bothHalves(bool together, const Work& work) {
    if (!together) {
        work(0);
        work(1);
        return;
    }
    std::exception_ptr failure;
    std::thread other([&] {
        try {
            work(1);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        work(0);
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failure)
        std::rethrow_exception(failure);
}

// Calls work(h, begin, end) for the two halves h of [0, n) at once, and
// returns true, when a pass over `n` entries is worth a second core;
// otherwise calls work(0, 0, n) alone and returns false.
template <class Work> bool overHalves(std::size_t n, const Work& work) {
    if (!inTwoHalves(n)) {
        work(0, std::size_t{0}, n);
        return false;
    }
    const std::size_t half = n / 2;
    bothHalves(true, [&](int h) {
        if (h == 0)
            work(0, std::size_t{0}, half);
        else
            work(1, half, n);
    });
    return true;
}

} // namespace kalnor
