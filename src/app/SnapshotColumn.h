#pragma once

#include "Gather.h"
#include "SpanishSortKey.h"
#include "stats/CellValue.h"
#include "stats/TwoHalves.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kalnor {

// One field's values in a record set's snapshot, kept compact: a number
// costs nine bytes, and room for words is only made once the field holds one.
class SnapshotColumn {
public:
    std::size_t size() const { return kinds_.size(); }

    void reserve(std::size_t rows) {
        kinds_.reserve(rows);
        numbers_.reserve(rows);
    }

    void push_back(const stats::CellValue& value) {
        kinds_.push_back(0);
        numbers_.push_back(0.0);
        if (!texts_.empty())
            texts_.emplace_back();
        set(size() - 1, value);
    }

    // Appending the common cells without building a value first.
    void pushNumber(double value) {
        kinds_.push_back(kNumber);
        numbers_.push_back(value);
        if (!texts_.empty())
            texts_.emplace_back();
    }
    void pushNull() {
        kinds_.push_back(kNull);
        numbers_.push_back(0.0);
        if (!texts_.empty())
            texts_.emplace_back();
    }

    // The rows of `more` after these.
    void append(const SnapshotColumn& more) {
        if (texts_.empty() && !more.texts_.empty())
            texts_.resize(size());
        kinds_.insert(kinds_.end(), more.kinds_.begin(), more.kinds_.end());
        numbers_.insert(numbers_.end(), more.numbers_.begin(), more.numbers_.end());
        if (!more.texts_.empty())
            texts_.insert(texts_.end(), more.texts_.begin(), more.texts_.end());
        else if (!texts_.empty())
            texts_.resize(size());
    }

    void set(std::size_t row, const stats::CellValue& value) {
        if (value.isNumber()) {
            kinds_[row] = kNumber;
            numbers_[row] = value.asNumber();
        } else if (value.isText()) {
            if (texts_.empty())
                texts_.resize(size());
            kinds_[row] = kText;
            texts_[row] = value.asText();
        } else {
            kinds_[row] = kNull;
        }
        if (!value.isText() && !texts_.empty())
            texts_[row].clear();
    }

    stats::CellValue get(std::size_t row) const {
        switch (kinds_[row]) {
        case kNumber:
            return stats::CellValue::number(numbers_[row]);
        case kText:
            return stats::CellValue::text(texts_[row]);
        default:
            return stats::CellValue::null();
        }
    }

    // Row order for an ascending sort: empty cells first, then numbers by
    // value, then words in Spanish order (ties broken by the words' bytes).
    // Returns a permutation: row k of the sorted set is row order[k]. The
    // sort is stable, so equal keys keep their order.
    std::vector<int> sortedOrder(bool descending) const {
        return sortedPlacement(descending).order();
    }
    std::vector<int> sortedOrder(std::vector<int> rows, bool descending) const {
        return sortedPlacement(std::move(rows), descending).order();
    }

    // The same sort as the places the rows go to: of every row, or of some
    // taken in the order given (equal keys keep that order).
    Placement sortedPlacement(bool descending) const {
        return sortedPlacement(allRows(), descending);
    }
    Placement sortedPlacement(std::vector<int> rows, bool descending) const {
        const std::vector<int> ranks = wordRanks();
        // -0 and 0 are one key, so runs of keys could not tell them apart.
        std::atomic<bool> negativeZero{false};
        // Each row's key as one unsigned number whose order is the sort's
        // (kind first, then the value).
        const auto keyOf = [&](int row) {
            const std::uint8_t kind = kinds_[row];
            const double value = kind == kNumber ? numbers_[row]
                                 : kind == kText ? static_cast<double>(ranks[row])
                                                 : 0.0;
            if (value == 0.0 && std::signbit(value)) [[unlikely]]
                negativeZero.store(true, std::memory_order_relaxed);
            const Key key{orderedBits(value), kind};
            return descending ? reversed(key) : key;
        };
        Placement placement;
        if (auto found = placesByDistinctKeys(rows, keyOf)) {
            placement.from = std::move(rows);
            placement.to = std::move(found->places);
            if (!negativeZero.load(std::memory_order_relaxed))
                placement.keyRuns = numberRuns(found->keys, found->counts, descending);
            return placement;
        }
        // Many distinct keys: radix, a stable pass per byte that varies,
        // several times faster than comparing on a million rows.
        std::vector<Keyed> keys(rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const Key key = keyOf(rows[k]);
            keys[k] = {key.bits, static_cast<std::uint32_t>(rows[k]), key.kind};
        }
        radixSort(keys);
        for (std::size_t k = 0; k < keys.size(); ++k)
            rows[k] = static_cast<int>(keys[k].row);
        placement.from = std::move(rows);
        return placement;
    }

    // The same values in another row order.
    SnapshotColumn placed(const Placement& placement) const {
        SnapshotColumn out;
        place(kinds_, placement, out.kinds_);
        place(numbers_, placement, out.numbers_);
        if (!texts_.empty())
            place(texts_, placement, out.texts_);
        return out;
    }

private:
    struct Keyed {
        std::uint64_t bits; // the value, as orderedBits gives it
        std::uint32_t row;
        std::uint8_t kind;
    };

    struct Key {
        std::uint64_t bits;
        std::uint8_t kind;
        bool operator==(const Key&) const = default;
        bool operator<(const Key& o) const {
            return kind != o.kind ? kind < o.kind : bits < o.bits;
        }
    };
    // The key in the opposite order, kinds and values both turned round;
    // turned twice, it is the key again.
    static Key reversed(Key key) {
        key.bits = ~key.bits;
        key.kind = static_cast<std::uint8_t>(kText - key.kind);
        return key;
    }

    std::vector<int> allRows() const {
        std::vector<int> rows(size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<int>(i);
        return rows;
    }

    // The distinct keys of some rows, numbered as first met, and how many
    // rows hold each.
    class KeyCount {
    public:
        // Gives rows[k] for k in [begin, end) its key's number in ids[k];
        // false once there are more than `limit` distinct keys.
        template <class KeyOf>
        bool count(const std::vector<int>& rows, std::size_t begin, std::size_t end,
                   const KeyOf& keyOf, std::size_t limit, std::vector<std::uint32_t>& ids) {
            for (std::size_t k = begin; k < end; ++k) {
                const Key key = keyOf(rows[k]);
                std::size_t slot = slotOf(key);
                while (table_[slot].id != kEmpty && !(table_[slot].key == key))
                    slot = (slot + 1) & (table_.size() - 1);
                std::uint32_t id = table_[slot].id;
                if (id == kEmpty) {
                    if (distinct.size() == limit)
                        return false;
                    id = add(key, slot);
                }
                ids[k] = id;
                ++counts[id];
            }
            return true;
        }
        // The number of `key`, added when it is not here yet.
        std::uint32_t numberOf(const Key& key) {
            std::size_t slot = slotOf(key);
            while (table_[slot].id != kEmpty && !(table_[slot].key == key))
                slot = (slot + 1) & (table_.size() - 1);
            return table_[slot].id != kEmpty ? table_[slot].id : add(key, slot);
        }

        std::vector<Key> distinct;
        std::vector<std::uint32_t> counts;

    private:
        struct Slot {
            Key key;
            std::uint32_t id; // kEmpty when free
        };
        static constexpr std::uint32_t kEmpty = ~0u;

        std::size_t slotOf(const Key& key) const {
            // Every bit of the key stirred: round numbers differ only in
            // their high bits.
            std::uint64_t h = key.bits ^ (std::uint64_t{key.kind} << 56);
            h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDULL;
            h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ULL;
            return static_cast<std::size_t>(h ^ (h >> 33)) & (table_.size() - 1);
        }
        std::uint32_t add(const Key& key, std::size_t slot) {
            const auto id = static_cast<std::uint32_t>(distinct.size());
            table_[slot] = {key, id};
            distinct.push_back(key);
            counts.push_back(0);
            if (2 * distinct.size() > table_.size()) { // keep probes short
                table_.assign(table_.size() * 4, Slot{{0, 0}, kEmpty});
                for (std::uint32_t d = 0; d < distinct.size(); ++d) {
                    std::size_t s = slotOf(distinct[d]);
                    while (table_[s].id != kEmpty)
                        s = (s + 1) & (table_.size() - 1);
                    table_[s] = {distinct[d], d};
                }
            }
            return id;
        }

        std::vector<Slot> table_ = std::vector<Slot>(1024, Slot{{0, 0}, kEmpty});
    };

    // Tables repeat a few values over many rows. Then the distinct keys are
    // found by hashing and counted, sorted among themselves, and each row
    // given its place by one stable pass. None when there are too many
    // distinct keys for that to pay. A big table is counted and placed in
    // two halves at once: the first half's rows of a key go before the
    // second's, so the sort stays stable.
    struct DistinctPlaces {
        std::vector<std::uint32_t> places; // of each row
        std::vector<Key> keys;             // the distinct keys in order
        std::vector<std::uint32_t> counts; // and how many rows hold each
    };
    template <class KeyOf>
    static std::optional<DistinctPlaces> placesByDistinctKeys(const std::vector<int>& rows,
                                                              const KeyOf& keyOf) {
        const std::size_t n = rows.size();
        const std::size_t limit = std::min<std::size_t>(n / 8, std::size_t{1} << 16);
        if (limit < 16)
            return std::nullopt;
        const std::size_t half[3] = {0, n / 2, n};
        const bool together = inTwoHalves(n);
        std::vector<std::uint32_t> ids(n); // each row's key, then its place
        KeyCount parts[2];
        bool few[2] = {false, false};
        bothHalves(together, [&](int p) {
            few[p] = parts[p].count(rows, half[p], half[p + 1], keyOf, limit, ids);
        });
        if (!few[0] || !few[1])
            return std::nullopt;
        // The second half's keys numbered as the first half's.
        KeyCount& all = parts[0];
        std::vector<std::uint32_t> asInFirst(parts[1].distinct.size());
        for (std::uint32_t id = 0; id < asInFirst.size(); ++id) {
            asInFirst[id] = all.numberOf(parts[1].distinct[id]);
            if (all.distinct.size() > limit)
                return std::nullopt;
        }
        std::vector<std::uint32_t> byKey(all.distinct.size());
        for (std::uint32_t id = 0; id < byKey.size(); ++id)
            byKey[id] = id;
        std::sort(byKey.begin(), byKey.end(), [&](std::uint32_t a, std::uint32_t b) {
            return all.distinct[a] < all.distinct[b];
        });
        // Where each key's rows of each half start.
        std::vector<std::uint32_t> second(all.distinct.size(), 0);
        for (std::uint32_t id = 0; id < asInFirst.size(); ++id)
            second[asInFirst[id]] = parts[1].counts[id];
        std::vector<std::uint32_t> next[2] = {std::vector<std::uint32_t>(all.distinct.size()),
                                              std::vector<std::uint32_t>(asInFirst.size())};
        DistinctPlaces found;
        found.keys.reserve(byKey.size());
        found.counts.reserve(byKey.size());
        std::uint32_t start = 0;
        for (const std::uint32_t id : byKey) {
            const std::uint32_t begin = start;
            next[0][id] = start;
            start += all.counts[id]; // 0 for the keys only the second half holds
            second[id] = std::exchange(start, start + second[id]);
            found.keys.push_back(all.distinct[id]);
            found.counts.push_back(start - begin);
        }
        for (std::uint32_t id = 0; id < asInFirst.size(); ++id)
            next[1][id] = second[asInFirst[id]];
        bothHalves(together, [&](int p) {
            std::uint32_t* const place = next[p].data();
            for (std::size_t k = half[p]; k < half[p + 1]; ++k)
                ids[k] = place[ids[k]]++;
        });
        found.places = std::move(ids);
        return found;
    }

    // The sorted keys as runs of numbers; none when some key is not one.
    static std::vector<NumberRun> numberRuns(const std::vector<Key>& keys,
                                             const std::vector<std::uint32_t>& counts,
                                             bool descending) {
        std::vector<NumberRun> runs;
        runs.reserve(keys.size());
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const Key key = descending ? reversed(keys[k]) : keys[k];
            if (key.kind != kNumber)
                return {};
            runs.push_back({numberOf(key.bits), counts[k]});
        }
        return runs;
    }

    // A double's bits turned so that unsigned order is numeric order; both
    // zeros are one key, as they compare equal.
    static std::uint64_t orderedBits(double value) {
        if (value == 0.0)
            value = 0.0;
        const auto bits = std::bit_cast<std::uint64_t>(value);
        constexpr std::uint64_t kSign = 1ULL << 63;
        return (bits & kSign) ? ~bits : bits | kSign;
    }

    // The number orderedBits turned into `bits`.
    static double numberOf(std::uint64_t bits) {
        constexpr std::uint64_t kSign = 1ULL << 63;
        return std::bit_cast<double>((bits & kSign) ? bits & ~kSign : ~bits);
    }

    // Least significant byte first, then the kind; a byte every key shares
    // costs no pass. Each pass is stable, so equal keys keep their order.
    static void radixSort(std::vector<Keyed>& keys) {
        constexpr int kBytes = 8;
        std::vector<std::array<std::uint32_t, 256>> counts(kBytes + 1);
        for (auto& c : counts)
            c.fill(0);
        for (const Keyed& k : keys) {
            for (int b = 0; b < kBytes; ++b)
                ++counts[b][(k.bits >> (8 * b)) & 0xff];
            ++counts[kBytes][k.kind];
        }
        std::vector<Keyed> other(keys.size());
        for (int b = 0; b <= kBytes; ++b) {
            auto& c = counts[b];
            if (std::find(c.begin(), c.end(), keys.size()) != c.end())
                continue; // one value of this byte for every key
            std::uint32_t start = 0;
            for (auto& n : c)
                start += std::exchange(n, start);
            for (const Keyed& k : keys) {
                const unsigned digit = b < kBytes ? (k.bits >> (8 * b)) & 0xff : k.kind;
                other[c[digit]++] = k;
            }
            keys.swap(other);
        }
    }

    // Each word's place among the column's distinct words in Spanish order
    // (words repeat a lot in a table, so the few distinct ones are sorted).
    std::vector<int> wordRanks() const {
        std::vector<int> ranks;
        if (texts_.empty())
            return ranks;
        std::unordered_map<std::string_view, int> distinct;
        std::vector<std::string_view> words;
        for (std::size_t i = 0; i < size(); ++i) {
            if (kinds_[i] == kText && distinct.emplace(texts_[i], 0).second)
                words.push_back(texts_[i]);
        }
        std::vector<std::pair<std::string, std::string_view>> keyed;
        keyed.reserve(words.size());
        for (const auto word : words)
            keyed.emplace_back(spanishSortKey(word), word);
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t r = 0; r < keyed.size(); ++r)
            distinct[keyed[r].second] = static_cast<int>(r);
        ranks.assign(size(), 0);
        for (std::size_t i = 0; i < size(); ++i) {
            if (kinds_[i] == kText)
                ranks[i] = distinct[texts_[i]];
        }
        return ranks;
    }

    static constexpr std::uint8_t kNull = 0;
    static constexpr std::uint8_t kNumber = 1;
    static constexpr std::uint8_t kText = 2;

    std::vector<std::uint8_t> kinds_;
    std::vector<double> numbers_;
    std::vector<std::string> texts_; // one per row once any row holds a word
};

} // namespace kalnor
