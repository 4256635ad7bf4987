#pragma once

// A per-row array that holds no memory until one row gets a value other than T{}: notes and
// spans are rare in most columns but dense in a few.

#include <cstddef>
#include <vector>

namespace kestrix::table {

template <typename T>
class LazyColumnArray {
public:
    T Get(std::size_t row) const { return values_.empty() ? T{} : values_[row]; }

    void Set(std::size_t row, T value) {
        if (values_.empty()) {
            if (value == T{}) {
                return;
            }
            values_.assign(size_, T{});
        }
        values_[row] = value;
    }

    void Resize(std::size_t size) {
        size_ = size;
        if (!values_.empty()) {
            values_.resize(size);
        }
    }

    void InsertAt(std::size_t row) {
        ++size_;
        if (!values_.empty()) {
            values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(row), T{});
        }
    }

    // Whether any row was ever given a value other than T{}.
    bool Allocated() const { return !values_.empty(); }

    std::size_t BytesHeld() const { return values_.capacity() * sizeof(T); }

private:
    std::vector<T> values_;
    std::size_t size_ = 0;
};

} // namespace kestrix::table
