#include "kestrix/table/writers/XlsxWriter.h"

#include "kestrix/table/tableRowKinds.h"
#include "kestrix/table/writers/TimestampCells.h"
#include "kestrix/table/writers/XlsxFormats.h"
#include "kestrix/table/writers/XlsxFormulas.h"
#include "kestrix/table/writers/XlsxPackageCheck.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrix::table {

namespace {

// The library's temporary files (the streamed rows, the parts of the package) go beside the
// workbook: that disc has to hold the workbook anyway, while the system's temporary folder may
// live in memory. The library unlinks each of them as soon as it is created, so none is left
// behind, whatever happens.
std::string TemporaryFolderBeside(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// The bytes of rows streamed so far, nullopt when writing them failed (a full disc): the
// library does not check those writes itself.
std::optional<std::uint64_t> StreamedRowBytes(lxw_worksheet* sheet) {
    FILE* rows = sheet->optimize_tmpfile;
    if (rows == nullptr || std::fflush(rows) != 0 || std::ferror(rows) != 0) {
        return std::nullopt;
    }
    const long end = std::ftell(rows);
    return end < 0 ? std::nullopt : std::optional<std::uint64_t>(static_cast<std::uint64_t>(end));
}

// The sheet part holds every streamed row and ends as a sheet ends.
bool SheetPartIsWhole(const std::string& path, std::uint64_t rowBytes) {
    constexpr std::string_view kSheetEnd = "</worksheet>";
    const std::optional<PartEnding> ending = ReadPartEnding(path, kXlsxSheetPart, kSheetEnd.size());
    return ending && ending->size >= rowBytes + kSheetEnd.size() && ending->tail == kSheetEnd;
}

class SheetWriter {
public:
    SheetWriter(const GridModel& grid, lxw_workbook* workbook, lxw_worksheet* sheet,
                const XlsxOptions& options)
        : grid_(grid), sheet_(sheet), options_(options),
          formats_(workbook, TimestampNumberFormat(options.locale)), stdev_(grid) {}

    // The first error a cell write reported, else LXW_NO_ERROR.
    lxw_error Write() {
        SetColumnWidths();
        // Streamed rows take their cells strictly in order: row by row, left to right.
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
        const CellFormat& format = grid_.Format(column, row);
        const int span = grid_.Span(column, row);
        if (span == 1) {
            WriteContent(column, row, XlsxLook{format});
        } else {
            WriteSpan(column, row, format, span);
        }
        if (const std::string& note = grid_.Note(column, row); !note.empty()) {
            Check(worksheet_write_comment(sheet_, Row(row), Col(column), note.c_str()));
        }
    }

    void WriteSpan(int column, int row, const CellFormat& format, int span) {
        WriteContent(column, row, SpanPartLook(format, 0, span));
        for (int offset = 1; offset < span; ++offset) {
            Check(worksheet_write_blank(
                sheet_, Row(row), Col(column + offset),
                formats_.For(SpanPartLook(format, offset, span), XlsxValueKind::Text)));
        }
    }

    void WriteContent(int column, int row, const XlsxLook& look) {
        switch (grid_.Kind(column, row)) {
        case CellKind::Empty:
            if (look != XlsxLook{}) {
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

    void WriteText(int column, int row, const XlsxLook& look) {
        const std::string& text = grid_.Text(column, row);
        if (const std::optional<base::DateTime> stamp = TimestampOf(column, row, text)) {
            Check(worksheet_write_number(sheet_, Row(row), Col(column), *stamp,
                                         formats_.For(look, XlsxValueKind::Timestamp)));
            return;
        }
        Check(worksheet_write_string(sheet_, Row(row), Col(column), text.c_str(),
                                     formats_.For(look, XlsxValueKind::Text)));
    }

    std::optional<base::DateTime> TimestampOf(int column, int row, const std::string& text) const {
        if (column != kTimestampColumn || grid_.RowUserValue(row) != kRowData) {
            return std::nullopt;
        }
        return ParseTimestampText(text, options_.locale);
    }

    void WriteFormula(int column, int row, const XlsxLook& look) {
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

// The first error of writing the sheet or closing the workbook; `rowBytes` as StreamedRowBytes
// found them before the close.
lxw_error WriteSheetAndClose(const GridModel& grid, lxw_workbook* workbook,
                             const XlsxOptions& options, std::optional<std::uint64_t>& rowBytes) {
    // In constant-memory mode the sheet's row file is opened here.
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, kXlsxSheetName);
    lxw_error written = LXW_ERROR_CREATING_TMPFILE;
    if (sheet != nullptr) {
        written = SheetWriter(grid, workbook, sheet, options).Write();
        rowBytes = StreamedRowBytes(sheet);
    }
    const lxw_error closed = workbook_close(workbook);
    return written != LXW_NO_ERROR ? written : closed;
}

} // namespace

bool WriteXlsx(const GridModel& grid, const std::string& path, const XlsxOptions& options,
               std::string& error) {
    std::string temporaryFolder = TemporaryFolderBeside(path);
    lxw_workbook_options workbookOptions{};
    workbookOptions.constant_memory = LXW_TRUE;
    workbookOptions.tmpdir = temporaryFolder.data();
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &workbookOptions);
    if (workbook == nullptr) {
        error = "Cannot start the workbook \"" + path + "\"";
        return false;
    }
    std::optional<std::uint64_t> rowBytes;
    if (const lxw_error result = WriteSheetAndClose(grid, workbook, options, rowBytes);
        result != LXW_NO_ERROR) {
        error = "Cannot write the workbook \"" + path + "\": " + lxw_strerror(result);
        return false;
    }
    if (!rowBytes || !SheetPartIsWhole(path, *rowBytes)) {
        error = "Cannot write the workbook \"" + path +
                "\": its rows were cut short (is the disc full?)";
        return false;
    }
    return true;
}

} // namespace kestrix::table
