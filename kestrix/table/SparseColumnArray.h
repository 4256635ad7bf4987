#pragma once

// Per-row values that most rows lack (notes, spans): only the rows with a value other than T{}
// are kept, in row order, so a column with a note on one row in a hundred pays for that row
// alone. Rows are written mostly in order, which appends.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kestrix::table {

template <typename T>
class SparseColumnArray {
public:
    using Entry = std::pair<std::uint32_t, T>; // row index, value

    T Get(std::size_t row) const {
        const auto it = Find(row);
        return it != entries_.end() && it->first == row ? it->second : T{};
    }

    void Set(std::size_t row, T value) {
        const auto it = Find(row);
        const bool present = it != entries_.end() && it->first == row;
        if (value == T{}) {
            if (present) {
                entries_.erase(it);
            }
        } else if (present) {
            it->second = value;
        } else {
            entries_.insert(it, Entry{static_cast<std::uint32_t>(row), value});
        }
    }

    // Drops the values of rows from `size` on.
    void Resize(std::size_t size) { entries_.erase(Find(size), entries_.end()); }

    // `count` new rows at `row`: the values of the rows from there move down.
    void InsertAt(std::size_t row, std::size_t count) {
        for (auto it = Find(row); it != entries_.end(); ++it) {
            it->first += static_cast<std::uint32_t>(count);
        }
    }

    // Rows row .. row + count - 1 go; the values of the rows below move up.
    void EraseAt(std::size_t row, std::size_t count) {
        const auto last = entries_.erase(Find(row), Find(row + count));
        for (auto it = last; it != entries_.end(); ++it) {
            it->first -= static_cast<std::uint32_t>(count);
        }
    }

    // The rows with a value, in row order.
    const std::vector<Entry>& Entries() const { return entries_; }

    std::size_t BytesHeld() const { return entries_.capacity() * sizeof(Entry); }

private:
    typename std::vector<Entry>::iterator Find(std::size_t row) {
        return std::lower_bound(entries_.begin(), entries_.end(), row, Before);
    }
    typename std::vector<Entry>::const_iterator Find(std::size_t row) const {
        return std::lower_bound(entries_.begin(), entries_.end(), row, Before);
    }
    static bool Before(const Entry& entry, std::size_t row) { return entry.first < row; }

    std::vector<Entry> entries_;
};

} // namespace kestrix::table
