#pragma once

// The workbook formats of grid cells, created once per distinct look and owned by the
// workbook.

#include "kestrix/table/CellFormat.h"

#include <string>
#include <unordered_map>
#include <xlsxwriter.h>

namespace kestrix::table {

enum class XlsxValueKind : unsigned char { Text, Number, Timestamp };

// A cell as the sheet draws it. A spanning cell cannot be merged while rows are streamed, so
// its content is centred across the cells it covers, which carry the same look.
struct XlsxLook {
    CellFormat format;
    bool centredAcross = false;
    bool operator==(const XlsxLook&) const = default;
};

// The look of the cell `offset` columns into a span of `columns`: only the span's outer edges
// keep their vertical borders, so the span is outlined as one cell.
XlsxLook SpanPartLook(const CellFormat& format, int offset, int columns);

class XlsxFormats {
public:
    XlsxFormats(lxw_workbook* workbook, std::string timestampFormat);

    lxw_format* For(const XlsxLook& look, XlsxValueKind kind);

private:
    struct Key {
        XlsxLook look;
        XlsxValueKind kind = XlsxValueKind::Text;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return (CellFormatHash{}(key.look.format) * 3 + static_cast<std::size_t>(key.kind)) *
                       2 +
                   static_cast<std::size_t>(key.look.centredAcross);
        }
    };

    lxw_format* Create(const Key& key);

    lxw_workbook* workbook_;
    std::string timestampFormat_;
    std::unordered_map<Key, lxw_format*, KeyHash> formats_;
};

} // namespace kestrix::table
