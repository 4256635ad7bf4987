#include "kestrix/table/writers/XlsxWriter.h"

#include "kestrix/table/tableRowKinds.h"
#include "kestrix/table/writers/TimestampCells.h"
#include "kestrix/table/writers/XlsxFormats.h"
#include "kestrix/table/writers/XlsxFormulas.h"

#include <optional>
#include <string_view>

namespace kestrix::table {

namespace {

class SheetWriter {
public:
    SheetWriter(const GridModel& grid, lxw_workbook* workbook, lxw_worksheet* sheet,
                const XlsxOptions& options)
        : grid_(grid), sheet_(sheet), options_(options),
          formats_(workbook, TimestampNumberFormat(options.locale)), stdev_(grid) {}

    // The first error a cell write reported, else LXW_NO_ERROR.
    lxw_error Write() {
        SetColumnWidths();
        for (int row = 1; row <= grid_.RowCount(); ++row) {
            for (int column = 1; column <= grid_.ColumnCount(); column += grid_.Span(column, row)) {
                WriteCell(column, row);
            }
        }
        if (grid_.FrozenRows() > 0) {
            worksheet_freeze_panes(sheet_, static_cast<lxw_row_t>(grid_.FrozenRows()), 0);
        }
        return firstError_;
    }

private:
    static lxw_row_t Row(int row) { return static_cast<lxw_row_t>(row - 1); }
    static lxw_col_t Col(int column) { return static_cast<lxw_col_t>(column - 1); }

    void SetColumnWidths() {
        for (int column = 1; column <= grid_.ColumnCount(); ++column) {
            worksheet_set_column(sheet_, Col(column), Col(column), grid_.ColumnWidth(column),
                                 nullptr);
        }
    }

    void WriteCell(int column, int row) {
        const CellFormat& look = grid_.Format(column, row);
        const int span = grid_.Span(column, row);
        if (span > 1 && !options_.constantMemory) {
            Check(worksheet_merge_range(sheet_, Row(row), Col(column), Row(row),
                                        Col(column + span - 1), "",
                                        formats_.For(look, XlsxValueKind::Text)));
        }
        WriteContent(column, row, look);
        if (const std::string& note = grid_.Note(column, row); !note.empty()) {
            Check(worksheet_write_comment(sheet_, Row(row), Col(column), note.c_str()));
        }
    }

    void WriteContent(int column, int row, const CellFormat& look) {
        switch (grid_.Kind(column, row)) {
        case CellKind::Empty:
            if (look != CellFormat{}) {
                Check(worksheet_write_blank(sheet_, Row(row), Col(column),
                                            formats_.For(look, XlsxValueKind::Text)));
            }
            return;
        case CellKind::Text:
            WriteText(column, row, look);
            return;
        case CellKind::Number:
            Check(worksheet_write_number(sheet_, Row(row), Col(column),
                                         grid_.Value(column, row).number,
                                         formats_.For(look, XlsxValueKind::Number)));
            return;
        case CellKind::Formula:
            WriteFormula(column, row, look);
            return;
        }
    }

    void WriteText(int column, int row, const CellFormat& look) {
        const std::string& text = grid_.Text(column, row);
        if (const std::optional<DateTime> stamp = TimestampOf(column, row, text)) {
            Check(worksheet_write_number(sheet_, Row(row), Col(column), *stamp,
                                         formats_.For(look, XlsxValueKind::Timestamp)));
            return;
        }
        Check(worksheet_write_string(sheet_, Row(row), Col(column), text.c_str(),
                                     formats_.For(look, XlsxValueKind::Text)));
    }

    std::optional<DateTime> TimestampOf(int column, int row, const std::string& text) const {
        if (column != kTimestampColumn || grid_.RowUserValue(row) != kRowData) {
            return std::nullopt;
        }
        return ParseTimestampText(text, options_.locale);
    }

    void WriteFormula(int column, int row, const CellFormat& look) {
        const SheetFormula formula =
            stdev_.Applies(column, row)
                ? stdev_.Replacement(column)
                : SheetFormula{ToA1Formula(grid_.Formula(column, row), column),
                               grid_.Value(column, row)};
        lxw_format* format = formats_.For(look, XlsxValueKind::Number);
        if (formula.result.IsError()) {
            const std::string shown(ErrorText(formula.result.error));
            Check(worksheet_write_formula_str(sheet_, Row(row), Col(column), formula.text.c_str(),
                                              format, shown.c_str()));
            return;
        }
        Check(worksheet_write_formula_num(sheet_, Row(row), Col(column), formula.text.c_str(),
                                          format, formula.result.number));
    }

    void Check(lxw_error result) {
        if (firstError_ == LXW_NO_ERROR) {
            firstError_ = result;
        }
    }

    const GridModel& grid_;
    lxw_worksheet* sheet_;
    const XlsxOptions& options_;
    XlsxFormats formats_;
    StdevSwap stdev_;
    lxw_error firstError_ = LXW_NO_ERROR;
};

} // namespace

bool WriteXlsx(const GridModel& grid, const std::string& path, const XlsxOptions& options,
               std::string& error) {
    lxw_workbook_options workbookOptions{};
    workbookOptions.constant_memory = options.constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &workbookOptions);
    if (workbook == nullptr) {
        error = "Cannot start the workbook \"" + path + "\"";
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, kXlsxSheetName);
    const lxw_error written = sheet == nullptr
                                  ? LXW_ERROR_MEMORY_MALLOC_FAILED
                                  : SheetWriter(grid, workbook, sheet, options).Write();
    const lxw_error closed = workbook_close(workbook);
    if (written != LXW_NO_ERROR || closed != LXW_NO_ERROR) {
        error = "Cannot write the workbook \"" + path +
                "\": " + lxw_strerror(written != LXW_NO_ERROR ? written : closed);
        return false;
    }
    return true;
}

} // namespace kestrix::table
