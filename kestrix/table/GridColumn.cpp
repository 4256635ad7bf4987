#include "kestrix/table/GridColumn.h"

namespace kestrix::table {

void GridColumn::Resize(std::size_t rows) {
    kinds_.resize(rows, CellKind::Empty);
    formats_.resize(rows, 0);
    payloads_.resize(rows, Payload{});
    notes_.Resize(rows);
    spans_.Resize(rows);
}

void GridColumn::Reserve(std::size_t rows) {
    kinds_.reserve(rows);
    formats_.reserve(rows);
    payloads_.reserve(rows);
    notes_.Reserve(rows);
    spans_.Reserve(rows);
}

void GridColumn::InsertRow(std::size_t index) {
    const auto at = static_cast<std::ptrdiff_t>(index);
    kinds_.insert(kinds_.begin() + at, CellKind::Empty);
    formats_.insert(formats_.begin() + at, 0);
    payloads_.insert(payloads_.begin() + at, Payload{});
    notes_.InsertAt(index);
    spans_.InsertAt(index);
}

std::size_t GridColumn::BytesHeld() const {
    return sizeof(GridColumn) + kinds_.capacity() * sizeof(CellKind) +
           formats_.capacity() * sizeof(std::uint32_t) + payloads_.capacity() * sizeof(Payload) +
           notes_.BytesHeld() + spans_.BytesHeld();
}

} // namespace kestrix::table
