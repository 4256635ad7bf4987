#pragma once

// What the shown table was laid out from and what its data rows hold, so that laying the same
// record set out under other options rewrites only the columns whose cells change.

#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/tableColumns.h"

#include <cstdint>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
}

namespace kestrix::table {

struct TableLayout {
    const data::clsDataRecordSet* recordSet = nullptr; // compared only, never read
    std::int32_t records = 0;                          // of the set when it was laid out
    std::vector<TableColumn> columns;
    TableViewOptions options;
    int headerLines = 0;
    int dataRows = 0;              // one empty row without records
    std::vector<int> numericCells; // per column: data cells that hold a number
    std::vector<int> dataWidths;   // per column: the widest shown text of the data rows

    int TitleRow() const { return headerLines + 1; }
    int FirstDataRow() const { return headerLines + 3; }
    int LastDataRow() const { return headerLines + 2 + dataRows; }
};

// Whether a column's data cells are the same under both options. Location names are never
// taken as the same: the user's names may have changed in between.
bool SameDataCells(const TableColumn& before, const TableViewOptions& optionsBefore,
                   const TableColumn& after, const TableViewOptions& optionsAfter);

} // namespace kestrix::table
