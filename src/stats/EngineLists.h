#pragma once

#include "CellValue.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace kalnor::stats {

namespace detail {
struct ValueMemo;     // what the engine read from a value list (NumericColumn.h)
struct FrequencyMemo; // and from a frequency list
} // namespace detail

// A std::vector that keeps what the engine read from it (its numbers, their
// sums) for as long as its contents stay as they are, so the measures pressed
// one after another on an unchanged table read it once. Every member that
// could change the contents forgets first: the non-const element access and
// iterators too, since they may be written through. A reference or iterator
// taken for writing must therefore not be kept across a reading by the engine.
// Copies share what was read (their contents are equal).
template <class T, class Memo> class RememberingList : public std::vector<T> {
    using Base = std::vector<T>;

public:
    using typename Base::const_iterator;
    using typename Base::iterator;
    using typename Base::size_type;

    using Base::Base;
    RememberingList() = default;
    RememberingList(const Base& v) : Base(v) {}
    RememberingList(Base&& v) noexcept : Base(std::move(v)) {}
    RememberingList(const RememberingList&) = default;
    RememberingList(RememberingList&& other) noexcept
        : Base(std::move(other)), memo_(std::move(other.memo_)) {}
    ~RememberingList() = default;

    RememberingList& operator=(const RememberingList& other) {
        Base::operator=(other);
        memo_ = other.memo_;
        return *this;
    }
    RememberingList& operator=(RememberingList&& other) noexcept {
        Base::operator=(std::move(other));
        memo_ = std::move(other.memo_);
        other.memo_.reset();
        return *this;
    }
    RememberingList& operator=(const Base& v) {
        forget();
        Base::operator=(v);
        return *this;
    }
    RememberingList& operator=(Base&& v) noexcept {
        forget();
        Base::operator=(std::move(v));
        return *this;
    }
    RememberingList& operator=(std::initializer_list<T> items) {
        forget();
        Base::operator=(items);
        return *this;
    }

    // Reading: as std::vector's.
    using Base::at;
    using Base::back;
    using Base::begin;
    using Base::data;
    using Base::end;
    using Base::front;
    using Base::rbegin;
    using Base::rend;
    using Base::operator[];

    // Anything that may write: forgets first.
    T& operator[](size_type i) {
        forget();
        return Base::operator[](i);
    }
    T& at(size_type i) {
        forget();
        return Base::at(i);
    }
    T& front() {
        forget();
        return Base::front();
    }
    T& back() {
        forget();
        return Base::back();
    }
    T* data() {
        forget();
        return Base::data();
    }
    iterator begin() {
        forget();
        return Base::begin();
    }
    iterator end() {
        forget();
        return Base::end();
    }
    auto rbegin() {
        forget();
        return Base::rbegin();
    }
    auto rend() {
        forget();
        return Base::rend();
    }
    void push_back(const T& v) {
        forget();
        Base::push_back(v);
    }
    void push_back(T&& v) {
        forget();
        Base::push_back(std::move(v));
    }
    template <class... A> T& emplace_back(A&&... args) {
        forget();
        return Base::emplace_back(std::forward<A>(args)...);
    }
    template <class... A> iterator insert(A&&... args) {
        forget();
        return Base::insert(std::forward<A>(args)...);
    }
    template <class... A> iterator emplace(A&&... args) {
        forget();
        return Base::emplace(std::forward<A>(args)...);
    }
    template <class... A> iterator erase(A&&... args) {
        forget();
        return Base::erase(std::forward<A>(args)...);
    }
    template <class... A> void assign(A&&... args) {
        forget();
        Base::assign(std::forward<A>(args)...);
    }
    void assign(std::initializer_list<T> items) {
        forget();
        Base::assign(items);
    }
    void pop_back() {
        forget();
        Base::pop_back();
    }
    void resize(size_type n) {
        forget();
        Base::resize(n);
    }
    void resize(size_type n, const T& v) {
        forget();
        Base::resize(n, v);
    }
    void clear() noexcept {
        forget();
        Base::clear();
    }
    void swap(RememberingList& other) noexcept {
        Base::swap(other);
        memo_.swap(other.memo_);
    }

    // For the engine (NumericColumn.cpp): what was read from these contents.
    const std::shared_ptr<Memo>& memo() const { return memo_; }
    void remember(std::shared_ptr<Memo> memo) const { memo_ = std::move(memo); }
    void forget() noexcept { memo_.reset(); }

private:
    mutable std::shared_ptr<Memo> memo_;
};

// Position 0 holds record 1.
using ValueList = RememberingList<CellValue, detail::ValueMemo>;
using FrequencyList = RememberingList<std::int32_t, detail::FrequencyMemo>;

// Reads the lists as the measures do, so that the first measure asked
// finds them read (a table just opened, say).
void readAhead(const ValueList& values, const FrequencyList& n);

// What the engine read of a value list and its frequencies, taken from
// them before a sort moves their entries.
struct WhatWasRead {
    std::shared_ptr<detail::ValueMemo> values;
    std::shared_ptr<detail::FrequencyMemo> frequencies;
    std::size_t size = 0;
};
// The lists forget it.
WhatWasRead takeReading(ValueList& values, FrequencyList& n);
// `values` and `n` hold the entries `earlier` was read from in another
// order, each value still beside its own frequency. What no order changes
// (Σ n, Σ x·n, the extremes) then serves them, and their numbers are read
// at once without those sums; nothing is kept when the earlier lists were
// not read, or not completely.
void keepReading(WhatWasRead earlier, const ValueList& values, const FrequencyList& n);

// The lists the measure routines work on, filled by LeerVariable.
struct EngineLists {
    ValueList Valores;
    FrequencyList Frecuencias;
    ValueList LimInf;
    ValueList LimSup;
    ValueList ValoresX; // filled by the bivariate keys and selectors only
    ValueList ValoresY;
};

} // namespace kalnor::stats
