#pragma once

// Per-row values that come in long runs (cell formats: a column of numbers shares one format
// but for its few faulty cells and its title and statistics rows). Only the row where a run
// starts is kept, with the run's value, so a column costs a few bytes per run, not per row.
// Rows are written mostly in order, which works at the end of the runs.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrix::table {

template <typename T>
class RunColumnArray {
public:
    T Get(std::size_t row) const { return runs_[RunIndex(row)].value; }

    void Set(std::size_t row, T value) {
        if (Get(row) == value) {
            return;
        }
        SplitAt(row + 1);
        const std::size_t index = SplitAt(row);
        runs_[index].value = value;
        MergeAround(index);
    }

    // Rows from the old size on are T{}; rows from `size` on are dropped.
    void Resize(std::size_t size) {
        if (size == 0) {
            runs_.assign(1, Run{0, T{}});
        } else if (size < size_) {
            runs_.erase(std::upper_bound(runs_.begin(), runs_.end(), size - 1, StartsAfter),
                        runs_.end());
        } else if (size > size_ && runs_.back().value != T{}) {
            runs_.push_back(Run{static_cast<std::uint32_t>(size_), T{}});
        }
        size_ = size;
    }

    // `count` rows of T{} at `row`; the rows from there move down.
    void InsertAt(std::size_t row, std::size_t count) {
        if (count == 0) {
            return;
        }
        const std::size_t index = SplitAt(row);
        for (std::size_t i = index; i < runs_.size(); ++i) {
            runs_[i].start += static_cast<std::uint32_t>(count);
        }
        runs_.insert(At(index), Run{static_cast<std::uint32_t>(row), T{}});
        size_ += count;
        MergeAround(index);
    }

    // Rows row .. row + count - 1 go; the rows below move up.
    void EraseAt(std::size_t row, std::size_t count) {
        if (count == 0) {
            return;
        }
        const std::size_t first = SplitAt(row);
        const std::size_t last = SplitAt(row + count);
        runs_.erase(At(first), At(last));
        for (std::size_t i = first; i < runs_.size(); ++i) {
            runs_[i].start -= static_cast<std::uint32_t>(count);
        }
        size_ -= count;
        if (runs_.empty() || size_ == 0) {
            runs_.assign(1, Run{0, T{}});
        } else if (first < runs_.size()) {
            MergeAround(first);
        }
    }

    std::size_t BytesHeld() const { return runs_.capacity() * sizeof(Run); }

private:
    struct Run {
        std::uint32_t start;
        T value;
    };

    static bool StartsAfter(std::size_t row, const Run& run) { return row < run.start; }

    typename std::vector<Run>::iterator At(std::size_t index) {
        return runs_.begin() + static_cast<std::ptrdiff_t>(index);
    }

    std::size_t RunIndex(std::size_t row) const {
        // Rows written in order meet the last two runs.
        const std::size_t last = runs_.size() - 1;
        if (row >= runs_[last].start) {
            return last;
        }
        if (last > 0 && row >= runs_[last - 1].start) {
            return last - 1;
        }
        return static_cast<std::size_t>(
            std::upper_bound(runs_.begin(), runs_.end(), row, StartsAfter) - runs_.begin() - 1);
    }

    // Makes a run start at `row` and gives its index; the end for the row after the last.
    std::size_t SplitAt(std::size_t row) {
        if (row >= size_) {
            return runs_.size();
        }
        const std::size_t index = RunIndex(row);
        if (runs_[index].start == row) {
            return index;
        }
        runs_.insert(At(index + 1), Run{static_cast<std::uint32_t>(row), runs_[index].value});
        return index + 1;
    }

    // Joins run `index` with equal neighbours.
    void MergeAround(std::size_t index) {
        if (index + 1 < runs_.size() && runs_[index + 1].value == runs_[index].value) {
            runs_.erase(At(index + 1));
        }
        if (index > 0 && runs_[index - 1].value == runs_[index].value) {
            runs_.erase(At(index));
        }
    }

    // Never empty, the first starting at row 0; neighbours differ.
    std::vector<Run> runs_{Run{0, T{}}};
    std::size_t size_ = 0;
};

} // namespace kestrix::table
