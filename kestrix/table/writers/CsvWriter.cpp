#include "kestrix/table/writers/CsvWriter.h"

#include <string>
#include <string_view>
#include <utility>

namespace kestrix::table {

namespace {

bool NeedsQuotes(std::string_view field, char separator) {
    if (field.empty()) {
        return false;
    }
    return field.find_first_of(std::string{separator} + "\"\r\n") != std::string_view::npos ||
           field.front() == ' ' || field.back() == ' ';
}

void WriteField(std::ostream& out, std::string_view field, char separator) {
    if (!NeedsQuotes(field, separator)) {
        out << field;
        return;
    }
    out << '"';
    for (const char c : field) {
        if (c == '"') {
            out << '"';
        }
        out << c;
    }
    out << '"';
}

// A spreadsheet runs a text that starts like a formula; the apostrophe marks it as literal
// text, as spreadsheets write it themselves.
std::string AsLiteralText(std::string text) {
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        text.insert(text.begin(), '\'');
    }
    return text;
}

} // namespace

CsvOptions CsvOptionsFor(char decimalSeparator) {
    return {decimalSeparator == ',' ? ';' : ',', decimalSeparator};
}

void WriteCsv(const GridModel& grid, std::ostream& out, const CsvOptions& options) {
    for (int row = 1; row <= grid.RowCount(); ++row) {
        for (int column = 1; column <= grid.ColumnCount(); ++column) {
            if (column > 1) {
                out << options.separator;
            }
            std::string shown = grid.ShownText(column, row, options.decimalSeparator);
            if (grid.Kind(column, row) == CellKind::Text) {
                shown = AsLiteralText(std::move(shown));
            }
            WriteField(out, shown, options.separator);
        }
        out << "\r\n";
    }
}

} // namespace kestrix::table
