#pragma once

// The formula cells of a grid: their texts, compiled forms and cached results. Results are
// computed on demand and kept until the grid's content changes; formulas that read other
// formula cells are evaluated dependencies first with an explicit stack, so long chains
// cannot exhaust the call stack, and a cycle gives #CYCLE! instead of a hang.

#include "kestrix/table/Formula.h"
#include "kestrix/table/GridColumn.h"

#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrix::table {

// A cell position; columns and rows count from 1.
struct CellPos {
    int column = 0;
    int row = 0;
    auto operator<=>(const CellPos&) const = default;
};

class FormulaCells {
public:
    // The grid's other cells as the store sees them, a column at a time (columns are always
    // valid).
    class Content {
    public:
        virtual ~Content() = default;
        virtual int RowCount() const = 0;
        virtual const GridColumn& Cells(int column) const = 0;
    };

    void Set(CellPos pos, std::string_view text);
    void Erase(CellPos pos);
    // Empty when the cell holds no formula.
    const std::string& Text(CellPos pos) const;

    // A row is inserted above `row`: formulas at or below it move down and every reference to
    // a row at or below it is renumbered.
    void InsertRow(int row);
    // Drops the formulas outside columns 1..columns and rows 1..rows.
    void Retain(int columns, int rows);
    void Clear() { entries_.clear(); }

    // The grid's content changed: every cached result is stale.
    void Invalidate() { ++generation_; }

    // The formula's result; a position without a formula gives #REF!.
    FormulaValue Value(CellPos pos, const Content& content) const;

    std::size_t BytesHeld() const;

private:
    struct Entry {
        explicit Entry(std::string formulaText)
            : text(std::move(formulaText)), formula(Formula::Parse(text)) {}

        std::string text;
        Formula formula;
        mutable FormulaValue value;
        mutable std::uint64_t evaluatedIn = 0;
        mutable bool visiting = false;
    };
    struct Frame {
        CellPos pos;
        bool expanded = false;
    };
    class ColumnLookup;

    bool IsCurrent(const Entry& entry) const { return entry.evaluatedIn == generation_; }
    void PushDependencies(CellPos pos, const Entry& entry, std::vector<Frame>& stack) const;

    std::map<CellPos, Entry> entries_;
    std::uint64_t generation_ = 1;
};

} // namespace kestrix::table
