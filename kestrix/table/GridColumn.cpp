#include "kestrix/table/GridColumn.h"

namespace kestrix::table {

void GridColumn::Resize(std::size_t rows) {
    words_.resize(rows, Tagged(CellKind::Empty, 0));
    formats_.Resize(rows);
    notes_.Resize(rows);
    spans_.Resize(rows);
}

void GridColumn::Reserve(std::size_t rows) {
    words_.reserve(rows);
}

void GridColumn::InsertRows(std::size_t index, std::size_t count) {
    const auto at = static_cast<std::ptrdiff_t>(index);
    words_.insert(words_.begin() + at, count, Tagged(CellKind::Empty, 0));
    formats_.InsertAt(index, count);
    notes_.InsertAt(index, count);
    spans_.InsertAt(index, count);
}

void GridColumn::EraseRows(std::size_t index, std::size_t count) {
    const auto first = static_cast<std::ptrdiff_t>(index);
    const auto last = static_cast<std::ptrdiff_t>(index + count);
    words_.erase(words_.begin() + first, words_.begin() + last);
    formats_.EraseAt(index, count);
    notes_.EraseAt(index, count);
    spans_.EraseAt(index, count);
}

std::size_t GridColumn::BytesHeld() const {
    return sizeof(GridColumn) + words_.capacity() * sizeof(std::uint64_t) + formats_.BytesHeld() +
           notes_.BytesHeld() + spans_.BytesHeld();
}

} // namespace kestrix::table
