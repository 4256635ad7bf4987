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
#include <tuple>
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
    // Drops the formulas of a column's rows first .. last.
    void EraseRows(int column, int first, int last);
    // Empty when the cell holds no formula.
    const std::string& Text(CellPos pos) const;

    // `count` rows are inserted above `row`: formulas at or below it move down and every
    // reference to a row at or below it is renumbered.
    void InsertRows(int row, int count);
    // Rows row .. row + count - 1 are removed: their formulas go, the ones below move up and
    // references follow them; a reference to a removed row names row 0 (#REF!).
    void RemoveRows(int row, int count);
    // New column j + 1 takes the formulas of old column sources[j] (none where it is 0).
    void ArrangeColumns(const std::vector<int>& sources);
    // Drops the formulas outside columns 1..columns and rows 1..rows.
    void Retain(int columns, int rows);
    void Clear() {
        entries_.clear();
        summaries_.clear();
    }

    // The grid's content changed: every cached result is stale.
    void Invalidate() {
        ++generation_;
        summaries_.clear();
    }

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

    // Column, first and last row of a range read by formulas.
    using RangeKey = std::tuple<int, int, int>;

    std::map<CellPos, Entry> entries_;
    mutable std::map<RangeKey, RangeSummary> summaries_; // of the current content
    std::uint64_t generation_ = 1;
};

} // namespace kestrix::table
