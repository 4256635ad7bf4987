#pragma once

// Numbers that a grid column reads where they already live (a record set's samples) instead of
// holding a copy: value i is the number of the column's i-th read row, NaN an empty cell.

#include <cstddef>

namespace kestrix::table {

class ColumnValues {
public:
    virtual ~ColumnValues() = default;
    virtual std::size_t Count() const = 0;
    virtual double At(std::size_t index) const = 0;
};

} // namespace kestrix::table
