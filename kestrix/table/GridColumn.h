#pragma once

// The cells of one grid column, indexed from 0: an 8-byte content word per cell, the format ids
// kept per run of rows that share one, and notes and spans held only for the rows that have
// them.
//
// The content word is the number itself for a Number cell; the other kinds are NaN patterns
// no arithmetic produces (a quiet NaN with a tag in its payload), a Text cell's string id in the
// low 32 bits. A NaN stored as a number is kept as the plain quiet NaN, so it never reads back
// as another kind.

#include "kestrix/table/FormatPool.h"
#include "kestrix/table/RunColumnArray.h"
#include "kestrix/table/SparseColumnArray.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace kestrix::table {

enum class CellKind : std::uint8_t { Empty, Text, Number, Formula };

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

    CellKind Kind(std::size_t i) const {
        const std::uint64_t word = words_[i];
        return (word & kTagMask) == kTag ? static_cast<CellKind>((word >> 32) & 0xFF)
                                         : CellKind::Number;
    }
    double Number(std::size_t i) const { return std::bit_cast<double>(words_[i]); }
    std::uint32_t TextId(std::size_t i) const { return static_cast<std::uint32_t>(words_[i]); }
    FormatId Format(std::size_t i) const { return formats_.Get(i); }
    std::uint32_t NoteId(std::size_t i) const { return notes_.Get(i); }
    int Span(std::size_t i) const { return spans_.Get(i); }
    const Notes& NoteEntries() const { return notes_; }
    const Spans& SpanEntries() const { return spans_; }

    void SetEmpty(std::size_t i) { words_[i] = Tagged(CellKind::Empty, 0); }
    void SetNumber(std::size_t i, double value) {
        words_[i] = std::isnan(value)
                        ? std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN())
                        : std::bit_cast<std::uint64_t>(value);
    }
    void SetText(std::size_t i, std::uint32_t textId) {
        words_[i] = Tagged(CellKind::Text, textId);
    }
    void SetFormula(std::size_t i) { words_[i] = Tagged(CellKind::Formula, 0); }
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

    std::vector<std::uint64_t> words_;
    RunColumnArray<FormatId> formats_;
    Notes notes_;
    Spans spans_;
};

} // namespace kestrix::table
