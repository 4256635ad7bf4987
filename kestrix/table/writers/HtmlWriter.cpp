#include "kestrix/table/writers/HtmlWriter.h"

#include "kestrix/table/writers/TableRows.h"

#include <cstdio>
#include <unordered_map>

namespace kestrix::table {

namespace {

// Style class numbers by cell format and whether the cell holds a number (for General
// alignment).
struct StyleKey {
    CellFormat format;
    bool number = false;
    bool operator==(const StyleKey&) const = default;
};

struct StyleKeyHash {
    std::size_t operator()(const StyleKey& key) const {
        return CellFormatHash{}(key.format) * 2 + key.number;
    }
};

using StyleClasses = std::unordered_map<StyleKey, int, StyleKeyHash>;

StyleKey StyleOf(const GridModel& grid, int column, int row) {
    return {grid.Format(column, row), grid.IsNumberCell(column, row)};
}

std::string CssColor(Rgb color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(color.Hex()));
    return text;
}

const char* TextAlign(const StyleKey& key) {
    switch (key.format.alignment) {
    case Alignment::Left:
        return "left";
    case Alignment::Center:
        return "center";
    case Alignment::Right:
        return "right";
    case Alignment::General:
        break;
    }
    return key.number ? "right" : "left";
}

std::string Css(const StyleKey& key) {
    const CellFormat& f = key.format;
    std::string css = "color:" + CssColor(f.textColor) + ";background:" + CssColor(f.backColor) +
                      ";text-align:" + TextAlign(key) + ";";
    if (f.bold) {
        css += "font-weight:bold;";
    }
    static constexpr std::pair<BorderSide, const char*> kSides[] = {{kBorderLeft, "left"},
                                                                    {kBorderTop, "top"},
                                                                    {kBorderRight, "right"},
                                                                    {kBorderBottom, "bottom"}};
    for (const auto& [bit, side] : kSides) {
        if (f.borders & bit) {
            css += std::string("border-") + side + ":1px solid #000000;";
        }
    }
    return css;
}

StyleClasses CollectStyles(const GridModel& grid) {
    StyleClasses classes;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        for (int row = 1; row <= grid.RowCount(); ++row) {
            classes.try_emplace(StyleOf(grid, column, row), static_cast<int>(classes.size()));
        }
    }
    return classes;
}

void WriteHead(std::ostream& out, const StyleClasses& classes) {
    out << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Data Table</title>\n"
           "<style>\ntable{border-collapse:collapse;font-family:sans-serif;font-size:10pt}\n"
           "td,th{padding:1px 4px;white-space:nowrap;font-weight:normal}\n";
    for (const auto& [key, number] : classes) {
        out << ".f" << number << '{' << Css(key) << "}\n";
    }
    out << "</style>\n</head>\n<body>\n<table>\n";
}

void WriteCell(std::ostream& out, const GridModel& grid, const StyleClasses& classes, int column,
               int row, char decimalSeparator) {
    const char* tag = IsHeadingRow(grid, row) ? "th" : "td";
    out << '<' << tag << " class=\"f" << classes.at(StyleOf(grid, column, row)) << '"';
    if (const int span = grid.Span(column, row); span > 1) {
        out << " colspan=\"" << span << '"';
    }
    if (const std::string_view note = grid.Note(column, row); !note.empty()) {
        out << " title=\"" << EscapeHtml(note) << '"';
    }
    out << '>' << EscapeHtml(grid.ShownText(column, row, decimalSeparator)) << "</" << tag << '>';
}

void WriteRow(std::ostream& out, const GridModel& grid, const StyleClasses& classes, int row,
              char decimalSeparator) {
    out << "<tr>";
    for (int column = 1; column <= grid.ColumnCount(); column += grid.Span(column, row)) {
        WriteCell(out, grid, classes, column, row, decimalSeparator);
    }
    out << "</tr>\n";
}

} // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        case '\r':
            break;
        case '\n':
            escaped += "&#10;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

void WriteHtml(const GridModel& grid, std::ostream& out, char decimalSeparator) {
    const StyleClasses classes = CollectStyles(grid);
    WriteHead(out, classes);
    const int headingRows = LeadingHeadingRows(grid);
    if (headingRows > 0) {
        out << "<thead>\n";
        for (int row = 1; row <= headingRows; ++row) {
            WriteRow(out, grid, classes, row, decimalSeparator);
        }
        out << "</thead>\n";
    }
    out << "<tbody>\n";
    for (int row = headingRows + 1; row <= grid.RowCount(); ++row) {
        WriteRow(out, grid, classes, row, decimalSeparator);
    }
    out << "</tbody>\n</table>\n</body>\n</html>\n";
}

} // namespace kestrix::table
