#pragma once

// The spreadsheet grid behind the data table: a model of cells with no drawing of its own.
// Views, file writers and printing read it; the table module fills it.
//
// Addressing: columns and rows count from 1, as in the grid the table was designed for; cell
// (1, 1) is the top-left cell. There are no header row 0 or column 0: the table writes its
// titles into ordinary rows. A position outside 1..ColumnCount() x 1..RowCount() is no cell:
// setters ignore it and return false, getters return the empty value (empty text, 0, the
// default format).
//
// Cells: Empty, Text (static text shown unchanged), Number (a double shown with the decimals of
// its format) or Formula (a formula text evaluated on demand; its result is shown with the
// decimals of its format, an error as its spreadsheet error text). Formula grammar and rules:
// Formula.h. Formulas refer to rows of their own column ("#12", "#3:#20"); InsertRowAbove keeps
// every reference on the same cells by renumbering the texts, so Formula() reads back the new
// numbers.
//
// Look: each cell has a CellFormat (decimals, colours, alignment, borders, bold, note flag),
// interned so that equal formats are stored once. Notes are texts per cell (the flag that goes
// with them is CellFormat::flagged); a cell can span several columns to its right.
//
// Widths are in characters (TextWidth.h): ColumnWidth is a stored setting a view scales to its
// font, WidestTextWidth measures the shown texts of every row of a column, spanning cells
// included in their own column.
//
// Writers read ShownText(column, row, separator) per cell; for a formula cell Formula() gives
// the text (MapReferences in FormulaReferences.h turns "#row" into the writer's cell names) and
// Value() the computed result. Rows are found by their user values, as the table marks them.
//
// Storage is column-wise, 8 bytes per cell plus shared formats and interned texts; format ids
// take memory per run of rows that share one, notes and spans only in the rows that have them;
// formulas live in a small side table. A column's run of numbers kept elsewhere is read from
// there (ReadNumbers) and takes no cell memory. A format setter refuses (returns false) only when
// the grid already holds FormatPool::kMaxFormats distinct formats. Cached formula results make the
// read functions logically const; the model is not thread-safe.

#include "kestrix/table/CellFormat.h"
#include "kestrix/table/FormatPool.h"
#include "kestrix/table/FormulaCells.h"
#include "kestrix/table/FormulaValue.h"
#include "kestrix/table/GridColumn.h"
#include "kestrix/table/StringPool.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::table {

// A cell that covers `columns` columns from its own to the right.
struct CellSpan {
    int column = 0;
    int row = 0;
    int columns = 1;
    bool operator==(const CellSpan&) const = default;
};

class GridModel {
public:
    static constexpr int kMaxColumns = 16384;
    static constexpr int kMaxRows = 1048576;
    static inline constexpr Rgb kDefaultHeaderColor{0xD4, 0xD0, 0xC8};

    // Size. Shrinking drops the cells, formulas and user values beyond the new size; setting
    // both counts to 0 empties the grid completely and releases its interned texts and formats.
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int RowCount() const { return rowCount_; }
    bool SetColumnCount(int count);
    bool SetRowCount(int count);
    // Appends one row; returns its number, 0 when the grid is full.
    int AddRow();
    // Inserts an empty row above `row` (RowCount() + 1 appends). Rows from `row` down move one
    // down with their cells and user values; formula references follow them.
    bool InsertRowAbove(int row) { return InsertRowsAbove(row, 1); }
    bool InsertRowsAbove(int row, int count);
    // Removes rows row .. row + count - 1; the rows below move up with their cells and user
    // values, formula references follow them, and a reference to a removed row gives #REF!.
    bool RemoveRows(int row, int count);
    // Puts the columns in a new order without copying their cells: new column j + 1 is old
    // column sources[j], or an empty column where that is 0. Old columns not named are dropped;
    // none may be named twice.
    bool ArrangeColumns(const std::vector<int>& sources);
    // Capacity hint for a table about to grow to `rows` rows one row at a time.
    void ReserveRows(int rows);

    // Content.
    CellKind Kind(int column, int row) const;
    bool SetText(int column, int row, std::string_view text);
    // A text written to many cells is interned once: its id, for SetTextId. Ids stay valid
    // until the grid is emptied.
    std::uint32_t InternText(std::string_view text) { return texts_.Intern(text); }
    bool SetTextId(int column, int row, std::uint32_t textId);
    bool SetNumber(int column, int row, double value, int decimals);
    // A number cell without a value: empty, but its format carries the decimals.
    bool SetNumberType(int column, int row, int decimals);
    bool SetFormula(int column, int row, std::string_view formula, int decimals);
    // Removes the content; format, note and span stay.
    bool ClearContent(int column, int row);
    // Rows firstRow .. firstRow + values->Count() - 1 of the column show values' numbers (NaN an
    // empty cell) without the grid holding them; those rows need not exist yet and read once
    // the grid grows there. The values must stay valid as long as the cells read them. Setting
    // one of those cells' content, or inserting rows among them, copies the numbers in first.
    bool ReadNumbers(int column, int firstRow, std::shared_ptr<const ColumnValues> values);

    // Of a Text cell; valid until the grid's texts change.
    std::string_view Text(int column, int row) const;
    const std::string& Formula(int column, int row) const; // of a Formula cell
    // Number or Formula: the cells of number type.
    bool IsNumberCell(int column, int row) const;
    // A number cell, or a formula cell whose result is a number (not an error).
    bool HoldsNumber(int column, int row) const;
    // The value of a number cell or the result of a formula; a Text or Empty cell gives
    // #VALUE!, a position outside the grid #REF!.
    FormulaValue Value(int column, int row) const;
    // The text as the grid shows it; numbers with `decimalSeparator` before their decimals.
    std::string ShownText(int column, int row, char decimalSeparator = '.') const;
    // TextWidth of ShownText, without building the text.
    int ShownTextWidth(int column, int row) const;

    // Look.
    const CellFormat& Format(int column, int row) const;
    bool SetFormat(int column, int row, const CellFormat& format);
    int Decimals(int column, int row) const { return Format(column, row).decimals; }
    bool SetDecimals(int column, int row, int decimals);
    bool SetTextColor(int column, int row, Rgb color);
    bool SetBackColor(int column, int row, Rgb color);
    bool SetAlignment(int column, int row, Alignment alignment);
    bool SetBorders(int column, int row, std::uint8_t borders);
    bool SetBold(int column, int row, bool bold);
    bool SetFlagged(int column, int row, bool flagged);

    // Notes (an empty text removes the note); valid until the grid's texts change.
    std::string_view Note(int column, int row) const;
    bool SetNote(int column, int row, std::string_view note);

    // Spans: the cell covers `columns` columns from its own to the right (1 = no span); the
    // count is cut at the last column.
    int Span(int column, int row) const;
    bool SetSpan(int column, int row, int columns);

    // Every spanning cell and every cell with a note, column by column, so that a view need
    // not ask each cell.
    std::vector<CellSpan> Spans() const;
    std::vector<CellPos> NotedCells() const;

    // Per-row and per-column user values, 0 until set.
    std::int32_t RowUserValue(int row) const;
    bool SetRowUserValue(int row, std::int32_t value);
    std::int32_t ColumnUserValue(int column) const;
    bool SetColumnUserValue(int column, std::int32_t value);

    // Widths in characters.
    double ColumnWidth(int column) const;
    bool SetColumnWidth(int column, double width);
    int WidestTextWidth(int column) const { return WidestTextWidth(column, 1, rowCount_); }
    // Of rows firstRow to lastRow only.
    int WidestTextWidth(int column, int firstRow, int lastRow) const;

    // Rows and columns that stay in view while scrolling (a view's concern, kept here).
    int FrozenRows() const { return frozenRows_; }
    void SetFrozenRows(int rows) { frozenRows_ = rows < 0 ? 0 : rows; }
    int FrozenColumns() const { return frozenColumns_; }
    void SetFrozenColumns(int columns) { frozenColumns_ = columns < 0 ? 0 : columns; }
    // The leading columns that say what each row is (time stamp, location): a printout repeats
    // them on the pages of the columns further right.
    int TitleColumns() const { return titleColumns_; }
    void SetTitleColumns(int columns) { titleColumns_ = columns < 0 ? 0 : columns; }

    // Background of header, title and label cells chosen by the table.
    Rgb HeaderColor() const { return headerColor_; }
    void SetHeaderColor(Rgb color) { headerColor_ = color; }

    // While off, a view should not repaint; turning it on shows the final state.
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool on);

    // The one change notice a view needs: the table was replaced or its cells changed, so
    // everything shown must be read again. It comes from ReplaceWith and from turning the
    // redraw switch back on; cell setters are silent, which keeps filling a table cheap.
    using ChangeListener = std::function<void()>;
    void SetChangeListener(ChangeListener listener) { changeListener_ = std::move(listener); }

    // Cells were changed in place and everything shown must be read again: the change notice,
    // now or when redraw is turned back on.
    void NoteChanged();

    // Takes over the other grid's whole content and settings, keeping this grid's listener
    // and redraw switch, and sends the change notice unless redraw is off.
    void ReplaceWith(GridModel&& other);

    // Bytes held by the model's storage, computed from the capacities of its containers.
    std::size_t BytesHeld() const;

private:
    class FormulaContent;

    GridColumn* Column(int column);
    const GridColumn* Column(int column) const;
    bool IsRow(int row) const { return row >= 1 && row <= rowCount_; }
    // The column of a cell position, nullptr when the position is outside the grid.
    GridColumn* CellColumn(int column, int row);
    const GridColumn* CellColumn(int column, int row) const;
    // Drops a formula the cell may hold; every content change goes through here.
    void BeforeContentChange(int column, int row);
    template <typename Change>
    bool ChangeFormat(int column, int row, Change change);
    void ReleaseIfEmpty();

    std::vector<GridColumn> columns_;
    std::vector<std::int32_t> rowUserValues_;
    int rowCount_ = 0;
    StringPool texts_;
    FormatPool formats_;
    FormulaCells formulas_;
    int frozenRows_ = 0;
    int frozenColumns_ = 0;
    int titleColumns_ = 0;
    Rgb headerColor_ = kDefaultHeaderColor;
    bool redraw_ = true;
    bool changedWhileOff_ = false;
    ChangeListener changeListener_;
};

} // namespace kestrix::table
