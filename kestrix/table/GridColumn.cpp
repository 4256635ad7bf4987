#include "kestrix/table/GridColumn.h"

#include <algorithm>

namespace kestrix::table {

void GridColumn::Resize(std::size_t rows) {
    // Rows cut off are gone for good: growing again gives empty cells, not read ones.
    if (rows < size_ && rows < readFirst_ + readCount_) {
        readCount_ = rows > readFirst_ ? rows - readFirst_ : 0;
        if (readCount_ == 0) {
            read_.reset();
            readFirst_ = 0;
        }
    }
    words_.resize(rows - ReadRowsBelow(rows), Tagged(CellKind::Empty, 0));
    size_ = rows;
    formats_.Resize(rows);
    notes_.Resize(rows);
    spans_.Resize(rows);
}

void GridColumn::Reserve(std::size_t rows) {
    words_.reserve(rows - ReadRowsBelow(rows));
}

void GridColumn::InsertRows(std::size_t index, std::size_t count) {
    if (index > readFirst_ && IsRead(index)) {
        CopyReadNumbers();
    }
    const std::size_t stored = index <= readFirst_ ? index : index - readCount_;
    if (readCount_ != 0 && index <= readFirst_) {
        readFirst_ += count;
    }
    words_.insert(words_.begin() + static_cast<std::ptrdiff_t>(stored), count,
                  Tagged(CellKind::Empty, 0));
    size_ += count;
    formats_.InsertAt(index, count);
    notes_.InsertAt(index, count);
    spans_.InsertAt(index, count);
}

void GridColumn::EraseRows(std::size_t index, std::size_t count) {
    if (readCount_ != 0 && index < readFirst_ + readCount_ && index + count > readFirst_) {
        CopyReadNumbers();
    }
    const std::size_t stored = index < readFirst_ ? index : index - readCount_;
    if (readCount_ != 0 && index < readFirst_) {
        readFirst_ -= count;
    }
    const auto first = words_.begin() + static_cast<std::ptrdiff_t>(stored);
    words_.erase(first, first + static_cast<std::ptrdiff_t>(count));
    size_ -= count;
    formats_.EraseAt(index, count);
    notes_.EraseAt(index, count);
    spans_.EraseAt(index, count);
}

void GridColumn::ReadNumbers(std::size_t first, std::shared_ptr<const ColumnValues> values) {
    if (read_) {
        CopyReadNumbers();
    }
    if (!values || values->Count() == 0) {
        return;
    }
    read_ = std::move(values);
    readFirst_ = first;
    readCount_ = read_->Count();
    const std::size_t held = ReadRowsBelow(size_);
    if (held != 0) {
        const auto from = words_.begin() + static_cast<std::ptrdiff_t>(first);
        words_.erase(from, from + static_cast<std::ptrdiff_t>(held));
        words_.shrink_to_fit();
    }
}

std::size_t GridColumn::ReadRowsBelow(std::size_t rows) const {
    return rows > readFirst_ ? std::min(rows - readFirst_, readCount_) : 0;
}

void GridColumn::CopyReadNumbers() {
    std::vector<std::uint64_t> words;
    words.reserve(std::max(size_, words_.capacity()));
    for (std::size_t i = 0; i < size_; ++i) {
        if (!IsRead(i)) {
            words.push_back(words_[Stored(i)]);
            continue;
        }
        const double value = ReadValue(i);
        words.push_back(std::isnan(value) ? Tagged(CellKind::Empty, 0) : NumberWord(value));
    }
    words_.swap(words);
    read_.reset();
    readFirst_ = 0;
    readCount_ = 0;
}

std::size_t GridColumn::BytesHeld() const {
    return sizeof(GridColumn) + words_.capacity() * sizeof(std::uint64_t) + formats_.BytesHeld() +
           notes_.BytesHeld() + spans_.BytesHeld();
}

} // namespace kestrix::table
