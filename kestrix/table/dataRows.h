#pragma once

// The data rows of the table: one row per record with its values converted to the chosen
// units, the calculator's derived values, and the status look of faulty cells.

#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/clsParticleDataCalculator.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/TimestampText.h"
#include "kestrix/table/recordColumnValues.h"
#include "kestrix/table/tableColumns.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
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

// A table column and the grid column (from 1) its cells go to.
struct ColumnTarget {
    const TableColumn* column;
    int gridColumn;
};

class DataRowWriter {
public:
    // The records' rows start at firstRow. The target columns that show a recorded quantity
    // read it from the set from now on (recordColumnValues.h); the grid need not have the
    // records' rows yet.
    DataRowWriter(GridModel& grid, std::vector<ColumnTarget> targets, int firstRow,
                  data::clsDataRecordSet& recordSet, const TableViewOptions& options,
                  const modConfig::ConfigStore& store);

    // Writes the records' rows, which exist by now, into the target columns, and stores each
    // target column's status in the column's user value. Throws calc::ArithmeticError when a
    // value overflows.
    void WriteRows();
    // Of each target in order, how many of its cells hold a number.
    const std::vector<int>& NumericCells() const { return numericCells_; }

private:
    struct ColumnPlan {
        const TableColumn* column;
        int gridColumn;
        int decimals;
        std::optional<std::int32_t> resultSlot; // of the column's derived value in results_
        std::shared_ptr<const RecordColumnValues> values; // the grid reads the cells from these
    };

    void PrepareCalculator();
    void FindResultSlots();
    void WriteRecord(int row, std::int32_t index);
    void WriteCell(int row, std::size_t target, const data::clsDataRecord& record);
    void WriteLocationName(int gridColumn, int row, std::int32_t locationId);
    void WriteValue(int row, std::size_t target, double value, std::uint8_t status);
    // The look and checks of a cell the grid reads from the record set.
    void WriteReadCell(int row, std::size_t target, std::int32_t index);
    void MarkStatus(int row, std::size_t target, std::uint8_t status);
    void WriteDerivedValue(int row, std::size_t target, std::uint8_t status);

    GridModel& grid_;
    int firstRow_;
    std::vector<ColumnPlan> plans_;
    data::clsDataRecordSet& recordSet_;
    const TableViewOptions& options_;
    const modConfig::ConfigStore& store_;
    std::int32_t locationSource_ = kInstrumentNames;
    std::unordered_map<std::int32_t, std::uint32_t> locationTextIds_; // interned once each
    calc::clsParticleDataCalculator calculator_;
    bool calculates_ = false;        // whether any target shows a derived value
    bool writesFromRecords_ = false; // whether any target's cells are written, not read
    calc::OrderedValues results_;
    std::shared_ptr<const calc::OrderedValueKeys> slotKeys_; // the keys resultSlot was found in
    TimestampText timestampText_;
    std::vector<std::uint8_t> columnStatus_;
    std::vector<int> numericCells_;
};

} // namespace kestrix::table
