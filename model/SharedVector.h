#pragma once

#include <atomic>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

// A std::vector whose copies share one block until one of them is changed (copy on write), so
// that copying a configuration for an undo step costs a reference count per list, not a copy
// of every step text. Reading goes through const members only; every change goes through the
// members below that make this copy the block's only holder first, so a change never reaches
// another copy, on this thread or another. Counts are atomic: a block may be read and
// released on a worker thread while the user-interface thread holds it too.
template<typename T>
class SharedVector {
public:
    using value_type = T;
    using size_type = std::size_t;
    using const_reference = const T &;
    using const_iterator = typename std::vector<T>::const_iterator;
    using iterator = const_iterator; // reading only; edit() hands out the writable vector

    SharedVector() noexcept = default;
    SharedVector(std::vector<T> values)
    {
        if (!values.empty())
            m_block = new Block{std::move(values)};
    }
    SharedVector(std::initializer_list<T> values)
        : SharedVector(std::vector<T>(values))
    {}
    SharedVector(const SharedVector &other) noexcept
        : m_block(other.m_block)
    {
        if (m_block)
            m_block->holders.fetch_add(1, std::memory_order_relaxed);
    }
    SharedVector(SharedVector &&other) noexcept
        : m_block(std::exchange(other.m_block, nullptr))
    {}
    SharedVector &operator=(const SharedVector &other) noexcept
    {
        SharedVector(other).swap(*this);
        return *this;
    }
    SharedVector &operator=(SharedVector &&other) noexcept
    {
        SharedVector(std::move(other)).swap(*this);
        return *this;
    }
    ~SharedVector() { release(); }

    void swap(SharedVector &other) noexcept { std::swap(m_block, other.m_block); }

    const std::vector<T> &values() const { return m_block ? m_block->values : none(); }
    operator const std::vector<T> &() const { return values(); }

    size_type size() const { return m_block ? m_block->values.size() : 0; }
    bool empty() const { return size() == 0; }
    size_type capacity() const { return m_block ? m_block->values.capacity() : 0; }
    const T &operator[](size_type i) const { return m_block->values[i]; }
    const T &at(size_type i) const { return values().at(i); }
    const T &front() const { return m_block->values.front(); }
    const T &back() const { return m_block->values.back(); }
    const_iterator begin() const { return values().begin(); }
    const_iterator end() const { return values().end(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    // Whether both are the same block: equal without looking, and no memory of its own.
    bool sharesWith(const SharedVector &other) const { return m_block == other.m_block; }
    // Whether another copy holds the block too.
    bool isShared() const
    {
        return m_block && m_block->holders.load(std::memory_order_acquire) > 1;
    }

    friend bool operator==(const SharedVector &a, const SharedVector &b)
    {
        return a.m_block == b.m_block || a.values() == b.values();
    }
    friend bool operator==(const SharedVector &a, const std::vector<T> &b)
    {
        return a.values() == b;
    }

    // The vector to change, this copy's own from now on. A reference into it must not be kept
    // across a copy of this one.
    std::vector<T> &edit()
    {
        if (!m_block) {
            m_block = new Block{};
        } else if (isShared()) {
            Block *own = new Block{m_block->values};
            release();
            m_block = own;
        }
        return m_block->values;
    }

    // Dropping every element only lets go of the block.
    void clear() noexcept { release(); }
    void reserve(size_type n) { edit().reserve(n); }
    void resize(size_type n)
    {
        if (n != size())
            edit().resize(n);
    }
    void resize(size_type n, const T &value)
    {
        if (n != size())
            edit().resize(n, value);
    }
    void push_back(const T &value) { edit().push_back(value); }
    void push_back(T &&value) { edit().push_back(std::move(value)); }
    template<typename... Args>
    void emplace_back(Args &&...args)
    {
        edit().emplace_back(std::forward<Args>(args)...);
    }
    void pop_back() { edit().pop_back(); }
    template<typename... Args>
    void assign(Args &&...args)
    {
        edit().assign(std::forward<Args>(args)...);
    }
    // Positions are given as iterators of this copy as it was before the change.
    template<typename... Args>
    void insert(const_iterator at, Args &&...args)
    {
        const auto i = at - begin();
        std::vector<T> &own = edit();
        own.insert(own.begin() + i, std::forward<Args>(args)...);
    }
    void erase(const_iterator at)
    {
        const auto i = at - begin();
        std::vector<T> &own = edit();
        own.erase(own.begin() + i);
    }
    void erase(const_iterator from, const_iterator to)
    {
        const auto i = from - begin();
        const auto j = to - begin();
        std::vector<T> &own = edit();
        own.erase(own.begin() + i, own.begin() + j);
    }
    void set(size_type i, T value) { edit()[i] = std::move(value); }
    T &editAt(size_type i) { return edit()[i]; }
    T &editBack() { return edit().back(); }

private:
    struct Block {
        std::vector<T> values;
        std::atomic<long> holders{1};
    };

    static const std::vector<T> &none()
    {
        static const std::vector<T> none;
        return none;
    }

    void release() noexcept
    {
        Block *block = std::exchange(m_block, nullptr);
        // The last holder sees every other holder's reads finished before it frees.
        if (block && block->holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete block;
    }

    Block *m_block = nullptr;
};
