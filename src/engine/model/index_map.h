#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace engine {

// A map from a row or column index (0 up to 65535) to a value, kept in a vector
// indexed by it: finding, setting and erasing an entry cost no search and no
// allocation of its own, whatever the order they come in. It reads like a std::map
// of its entries in index order, each a pair of the index and the value.
template <typename T>
class IndexMap {
public:
    using Entry = std::pair<int, T>;
    using value_type = Entry;
    static constexpr int kIndexLimit = 65536;

    template <bool Const>
    class Iterator {
    public:
        using Slots = std::conditional_t<Const, const std::vector<Entry>, std::vector<Entry>>;
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const Entry&, Entry&>;
        using pointer = std::conditional_t<Const, const Entry*, Entry*>;

        Iterator() = default;
        Iterator(Slots* entries, std::size_t at) : m_slots(entries), m_at(at) { skipAbsent(); }
        operator Iterator<true>() const { return Iterator<true>(m_slots, m_at); }

        reference operator*() const { return (*m_slots)[m_at]; }
        pointer operator->() const { return &(*m_slots)[m_at]; }
        Iterator& operator++() {
            ++m_at;
            skipAbsent();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_at == b.m_at; }

    private:
        void skipAbsent() {
            while (m_at < m_slots->size() && (*m_slots)[m_at].first < 0) ++m_at;
        }
        Slots* m_slots = nullptr;
        std::size_t m_at = 0;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    IndexMap() = default;
    IndexMap(std::initializer_list<Entry> entries) { assign(entries); }
    IndexMap& operator=(std::initializer_list<Entry> entries) {
        clear();
        assign(entries);
        return *this;
    }

    bool empty() const { return m_count == 0; }
    std::size_t size() const { return m_count; }
    // One past the largest index with a value (0 when there is none).
    int indexEnd() const { return static_cast<int>(m_slots.size()); }
    void clear() {
        m_slots.clear();
        m_count = 0;
    }

    // The value at index, or null.
    const T* get(int index) const {
        return present(index) ? &m_slots[static_cast<std::size_t>(index)].second : nullptr;
    }
    T* get(int index) {
        return present(index) ? &m_slots[static_cast<std::size_t>(index)].second : nullptr;
    }
    bool contains(int index) const { return present(index); }
    std::size_t count(int index) const { return present(index) ? 1 : 0; }
    const T& at(int index) const {
        if (!present(index)) throw std::out_of_range("IndexMap::at");
        return m_slots[static_cast<std::size_t>(index)].second;
    }

    // The value at index, added as T{} when absent.
    T& operator[](int index) { return emplace(index, T{}).first->second; }
    std::pair<iterator, bool> emplace(int index, T value) {
        Entry& slot = slotFor(index);
        const bool added = slot.first < 0;
        if (added) {
            slot = Entry{index, std::move(value)};
            ++m_count;
        }
        return {iterator(&m_slots, static_cast<std::size_t>(index)), added};
    }
    std::size_t erase(int index) {
        if (!present(index)) return 0;
        m_slots[static_cast<std::size_t>(index)] = Entry{-1, T{}};
        --m_count;
        while (!m_slots.empty() && m_slots.back().first < 0) m_slots.pop_back();
        return 1;
    }

    iterator find(int index) { return present(index) ? iterator(&m_slots, std::size_t(index)) : end(); }
    const_iterator find(int index) const {
        return present(index) ? const_iterator(&m_slots, std::size_t(index)) : end();
    }
    iterator begin() { return iterator(&m_slots, 0); }
    iterator end() { return iterator(&m_slots, m_slots.size()); }
    const_iterator begin() const { return const_iterator(&m_slots, 0); }
    const_iterator end() const { return const_iterator(&m_slots, m_slots.size()); }

    friend bool operator==(const IndexMap& a, const IndexMap& b) {
        return a.m_count == b.m_count && std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    bool present(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < m_slots.size() &&
               m_slots[static_cast<std::size_t>(index)].first >= 0;
    }
    Entry& slotFor(int index) {
        if (index < 0 || index >= kIndexLimit) throw std::out_of_range("IndexMap: index beyond the sheet");
        const auto at = static_cast<std::size_t>(index);
        if (at >= m_slots.size()) m_slots.resize(at + 1, Entry{-1, T{}});
        return m_slots[at];
    }
    void assign(std::initializer_list<Entry> entries) {
        for (const Entry& e : entries) (*this)[e.first] = e.second;
    }

    std::vector<Entry> m_slots;  // slot i holds index i, or -1 when absent; the last one is present
    std::size_t m_count = 0;
};

}  // namespace engine
