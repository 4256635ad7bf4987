#pragma once

// The cells of one grid column, indexed from 0: an 8-byte content word per cell, the format ids
// kept per run of rows that share one, and notes and spans held only for the rows that have
// them.
//
// One run of rows may read its numbers from ColumnValues instead of holding words: their
// contents take no memory here. Writing the content of one of those rows, or inserting rows
// inside the run, copies the numbers into words first, so every edit keeps its usual meaning.
//
// The content word is the number itself for a Number cell; the other kinds are NaN patterns
// no arithmetic produces (a quiet NaN with a tag in its payload), a Text cell's string id in the
// low 32 bits. A NaN stored as a number is kept as the plain quiet NaN, so it never reads back
// as another kind.

#include "kestrix/table/ColumnValues.h"
#include "kestrix/table/FormatPool.h"
#include "kestrix/table/RunColumnArray.h"
#include "kestrix/table/SparseColumnArray.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace kestrix::table {

enum class CellKind : std::uint8_t { Empty, Text, Number, Formula };

// A cell's kind, with its number when the kind is Number.
struct CellContent {
    CellKind kind = CellKind::Empty;
    double number = 0.0;
};

class GridColumn {
public:
    static constexpr double kDefaultWidth = 9.0;
    using Notes = SparseColumnArray<std::uint32_t>; // string pool ids
    using Spans = SparseColumnArray<std::uint16_t>; // columns covered, more than 1

    explicit GridColumn(std::size_t rows) { Resize(rows); }

    void Resize(std::size_t rows);
    void Reserve(std::size_t rows);
    void InsertRows(std::size_t index, std::size_t count);
    void EraseRows(std::size_t index, std::size_t count);

    CellKind Kind(std::size_t i) const { return Content(i).kind; }
    // Kind and Number at once: a read row computes its value once.
    CellContent Content(std::size_t i) const {
        if (IsRead(i)) {
            const double value = ReadValue(i);
            return std::isnan(value) ? CellContent{} : CellContent{CellKind::Number, value};
        }
        const std::uint64_t word = words_[Stored(i)];
        return (word & kTagMask) == kTag
                   ? CellContent{static_cast<CellKind>((word >> 32) & 0xFF)}
                   : CellContent{CellKind::Number, std::bit_cast<double>(word)};
    }
    double Number(std::size_t i) const {
        return IsRead(i) ? ReadValue(i) : std::bit_cast<double>(words_[Stored(i)]);
    }
    std::uint32_t TextId(std::size_t i) const {
        return IsRead(i) ? 0 : static_cast<std::uint32_t>(words_[Stored(i)]);
    }
    FormatId Format(std::size_t i) const { return formats_.Get(i); }
    std::uint32_t NoteId(std::size_t i) const { return notes_.Get(i); }
    int Span(std::size_t i) const { return spans_.Get(i); }
    const Notes& NoteEntries() const { return notes_; }
    const Spans& SpanEntries() const { return spans_; }

    void SetEmpty(std::size_t i) { Word(i) = Tagged(CellKind::Empty, 0); }
    void SetNumber(std::size_t i, double value) { Word(i) = NumberWord(value); }
    void SetText(std::size_t i, std::uint32_t textId) { Word(i) = Tagged(CellKind::Text, textId); }
    void SetFormula(std::size_t i) { Word(i) = Tagged(CellKind::Formula, 0); }

    // Rows first .. first + values->Count() - 1 read their numbers from `values` from now on;
    // rows of that run the column does not reach yet read them once it grows there. Replaces
    // the run read before, whose numbers are copied into words.
    void ReadNumbers(std::size_t first, std::shared_ptr<const ColumnValues> values);
    void SetFormat(std::size_t i, FormatId id) { formats_.Set(i, id); }
    void SetNoteId(std::size_t i, std::uint32_t id) { notes_.Set(i, id); }
    void SetSpan(std::size_t i, int columns) { spans_.Set(i, static_cast<std::uint16_t>(columns)); }

    std::size_t BytesHeld() const;

    std::int32_t userValue = 0;
    double width = kDefaultWidth;

private:
    // Sign, exponent, quiet bit and a marker bit set: no hardware NaN looks like this.
    static constexpr std::uint64_t kTagMask = 0xFFFF'FF00'0000'0000;
    static constexpr std::uint64_t kTag = 0xFFFC'5A00'0000'0000;

    static constexpr std::uint64_t Tagged(CellKind kind, std::uint32_t low) {
        return kTag | (std::uint64_t{static_cast<std::uint8_t>(kind)} << 32) | low;
    }
    static std::uint64_t NumberWord(double value) {
        return std::isnan(value)
                   ? std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN())
                   : std::bit_cast<std::uint64_t>(value);
    }

    bool IsRead(std::size_t i) const { return i - readFirst_ < readCount_; }
    double ReadValue(std::size_t i) const { return read_->At(i - readFirst_); }
    // Where row i's word is kept: the read run holds none, so the rows after it move up.
    std::size_t Stored(std::size_t i) const { return i < readFirst_ ? i : i - readCount_; }
    // Read rows of 0 .. rows - 1, which hold no word.
    std::size_t ReadRowsBelow(std::size_t rows) const;
    std::uint64_t& Word(std::size_t i) {
        if (IsRead(i)) {
            CopyReadNumbers();
        }
        return words_[Stored(i)];
    }
    // Gives every row a word again, with the numbers it read; reads nothing more.
    void CopyReadNumbers();

    std::vector<std::uint64_t> words_;
    std::size_t size_ = 0;
    std::size_t readFirst_ = 0;
    std::size_t readCount_ = 0;
    std::shared_ptr<const ColumnValues> read_;
    RunColumnArray<FormatId> formats_;
    Notes notes_;
    Spans spans_;
};

} // namespace kestrix::table
