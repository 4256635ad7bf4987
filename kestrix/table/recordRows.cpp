#include "kestrix/table/recordRows.h"

#include "kestrix/table/tableRowKinds.h"

namespace kestrix::table {

int GridRowOfRecord(const GridModel& grid, std::int32_t recordIndex) {
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.RowUserValue(row) == kRowData) {
            const int target = row + recordIndex;
            const bool isData = recordIndex >= 0 && target <= grid.RowCount() &&
                                grid.RowUserValue(target) == kRowData;
            return isData ? target : 0;
        }
    }
    return 0;
}

} // namespace kestrix::table
