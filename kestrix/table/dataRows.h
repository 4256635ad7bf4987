#pragma once

// The data rows of the table: one row per record with its values converted to the chosen
// units, the calculator's derived values, and the status look of faulty cells.

#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/clsParticleDataCalculator.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/TimestampText.h"
#include "kestrix/table/tableColumns.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecord;
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::table {

// The density the mass concentrations of the set are computed with (g/ml).
double EffectiveParticleDensity(const data::clsDataRecordSet& recordSet);

// Sets the calculator up for the set's rows as the table computes them under the options.
void ConfigureCalculator(calc::clsParticleDataCalculator& calculator,
                         data::clsDataRecordSet* recordSet, const TableViewOptions& options);

class DataRowWriter {
public:
    DataRowWriter(GridModel& grid, const std::vector<TableColumn>& columns,
                  data::clsDataRecordSet* recordSet, const TableViewOptions& options,
                  const modConfig::ConfigStore& store);

    // Adds the rows (one empty row without records) and stores every column's status in the
    // column's user value. Throws ArithmeticError when a value overflows.
    void WriteRows();

private:
    struct ColumnPlan {
        const TableColumn* column;
        int decimals;
        std::optional<std::int32_t> resultSlot; // of the column's derived value in results_
    };

    void PrepareCalculator();
    void FindResultSlots();
    void WriteRecord(int row, const data::clsDataRecord& record);
    void WriteCell(int gridColumn, int row, const ColumnPlan& plan,
                   const data::clsDataRecord& record);
    void WriteLocationName(int gridColumn, int row, std::int32_t locationId);
    void WriteValue(int gridColumn, int row, const ColumnPlan& plan, double value,
                    std::uint8_t status);
    void WriteDerivedValue(int gridColumn, int row, const ColumnPlan& plan, std::uint8_t status);
    double SampleVolumeInCubicFeet(const data::clsDataRecord& record) const;

    GridModel& grid_;
    std::vector<ColumnPlan> plans_;
    data::clsDataRecordSet* recordSet_;
    const TableViewOptions& options_;
    const modConfig::ConfigStore& store_;
    std::int32_t locationSource_ = kInstrumentNames;
    calc::clsParticleDataCalculator calculator_;
    calc::OrderedValues results_;
    std::shared_ptr<const calc::OrderedValueKeys> slotKeys_; // the keys resultSlot was found in
    TimestampText timestampText_;
    std::vector<std::uint8_t> columnStatus_;
    double sampleTimeToMinutes_ = 1.0;
    double sampleTimeOffsetMinutes_ = 0.0;
    double flowRateCfm_ = 0.0;
};

} // namespace kestrix::table
