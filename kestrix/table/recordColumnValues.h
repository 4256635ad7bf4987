#pragma once

// The numbers of a table column that shows a recorded quantity as the records hold it,
// converted to the column's unit: particle counts, environmental readings, sample time and
// volume, location numbers. The grid reads them from the record set instead of keeping a copy
// of every sample; derived values, time stamps and names are written into the grid.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/table/ColumnValues.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/tableColumns.h"

#include <cstdint>
#include <memory>

namespace kestrix::table {

class RecordColumnValues final : public ColumnValues {
public:
    // Null for a column that shows no recorded quantity. The set must outlive the values.
    static std::shared_ptr<const RecordColumnValues> For(const TableColumn& column,
                                                         const data::clsDataRecordSet& recordSet,
                                                         const TableViewOptions& options);

    std::size_t Count() const override;
    // NaN where the record has the quantity's channel switched off.
    double At(std::size_t index) const override;
    // The converted value, with the record's status byte and enable flag for it.
    data::ChannelSample Sample(std::size_t index) const;

private:
    RecordColumnValues(const TableColumn& column, const data::clsDataRecordSet& recordSet,
                       bool cumulative);

    const data::clsDataRecordSet& recordSet_;
    TableColumn column_;
    bool cumulative_;
    double sampleTimeToMinutes_ = 1.0;
    double sampleTimeOffsetMinutes_ = 0.0;
    double flowRateCfm_ = 0.0;
};

} // namespace kestrix::table
