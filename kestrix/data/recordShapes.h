#pragma once

// The extents of every record's "particles" and "analogs" lists, noted while
// the records stream past and checked once the channel lists are known,
// wherever those stand in the file, before anything is allocated for the
// records. The refusals are those of the records read in file order.

#include "kestrix/data/jsonField.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestrix::data {

struct RecordShape {
    std::size_t particles = 0;
    std::size_t analogs = 0;
    bool operator==(const RecordShape&) const = default;
};

// The record's lists; refused when the record is no object or a list is missing.
RecordShape ShapeOf(const jsonField::Field& record);

class RecordShapes {
public:
    // Records beyond keep only being counted.
    explicit RecordShapes(std::size_t noted) : noted_(noted) {}

    void Add(const jsonField::Json& record);
    std::size_t Count() const { return count_; }
    // Refuses the first record that is not shaped as expected.
    void Check(const RecordShape& expected) const;

private:
    std::size_t noted_;
    std::size_t count_ = 0;
    std::vector<RecordShape> shapes_; // up to and with the first record refused
    std::string refusal_;             // of a list that is not one; its extent is noted as kRefused
};

std::string RecordPath(std::size_t index);

} // namespace kestrix::data
