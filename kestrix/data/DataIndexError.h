#pragma once

// The error that the column accessors of a channel data set report for an
// index outside the stored entries.

#include <stdexcept>

namespace kestrix::data {

class DataIndexError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

} // namespace kestrix::data
