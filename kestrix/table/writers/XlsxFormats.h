#pragma once

// The workbook formats of grid cells, created once per distinct look and owned by the
// workbook.

#include "kestrix/table/CellFormat.h"

#include <string>
#include <unordered_map>
#include <xlsxwriter.h>

namespace kestrix::table {

enum class XlsxValueKind : unsigned char { Text, Number, Timestamp };

class XlsxFormats {
public:
    XlsxFormats(lxw_workbook* workbook, std::string timestampFormat);

    lxw_format* For(const CellFormat& format, XlsxValueKind kind);

private:
    struct Key {
        CellFormat format;
        XlsxValueKind kind = XlsxValueKind::Text;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return CellFormatHash{}(key.format) * 3 + static_cast<std::size_t>(key.kind);
        }
    };

    lxw_format* Create(const Key& key);

    lxw_workbook* workbook_;
    std::string timestampFormat_;
    std::unordered_map<Key, lxw_format*, KeyHash> formats_;
};

} // namespace kestrix::table
