#pragma once

// The cells of one grid column, stored as parallel arrays indexed from 0: a kind byte, a format
// id and an 8-byte payload per cell (13 bytes), plus notes and spans held only where used.

#include "kestrix/table/LazyColumnArray.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrix::table {

enum class CellKind : std::uint8_t { Empty, Text, Number, Formula };

class GridColumn {
public:
    static constexpr double kDefaultWidth = 9.0;

    explicit GridColumn(std::size_t rows) { Resize(rows); }

    void Resize(std::size_t rows);
    void Reserve(std::size_t rows);
    void InsertRow(std::size_t index);

    CellKind Kind(std::size_t i) const { return kinds_[i]; }
    double Number(std::size_t i) const { return payloads_[i].number; }
    std::uint32_t TextId(std::size_t i) const { return payloads_[i].textId; }
    std::uint32_t FormatId(std::size_t i) const { return formats_[i]; }
    std::uint32_t NoteId(std::size_t i) const { return notes_.Get(i); }
    int Span(std::size_t i) const { return spans_.Get(i); }
    bool HasNotes() const { return notes_.Allocated(); }
    bool HasSpans() const { return spans_.Allocated(); }

    void SetEmpty(std::size_t i) { Set(i, CellKind::Empty, Payload{}); }
    void SetNumber(std::size_t i, double value) {
        Set(i, CellKind::Number, Payload{.number = value});
    }
    void SetText(std::size_t i, std::uint32_t textId) {
        Payload payload;
        payload.textId = textId;
        Set(i, CellKind::Text, payload);
    }
    void SetFormula(std::size_t i) { Set(i, CellKind::Formula, Payload{}); }
    void SetFormatId(std::size_t i, std::uint32_t id) { formats_[i] = id; }
    void SetNoteId(std::size_t i, std::uint32_t id) { notes_.Set(i, id); }
    void SetSpan(std::size_t i, int columns) { spans_.Set(i, static_cast<std::uint16_t>(columns)); }

    std::size_t BytesHeld() const;

    std::int32_t userValue = 0;
    double width = kDefaultWidth;

private:
    union Payload {
        double number = 0.0;
        std::uint32_t textId;
    };

    void Set(std::size_t i, CellKind kind, Payload payload) {
        kinds_[i] = kind;
        payloads_[i] = payload;
    }

    std::vector<CellKind> kinds_;
    std::vector<std::uint32_t> formats_;
    std::vector<Payload> payloads_;
    LazyColumnArray<std::uint32_t> notes_; // string pool ids, 0 = no note
    LazyColumnArray<std::uint16_t> spans_; // 0 = no span
};

} // namespace kestrix::table
