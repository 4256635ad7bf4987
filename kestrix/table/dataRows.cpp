#include "kestrix/table/dataRows.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/locationNames.h"
#include "kestrix/table/tableCellStyle.h"

#include <algorithm>
#include <initializer_list>

namespace kestrix::table {
namespace {

bool HasEnabledChannel(const TableColumn& column, bool enabled) {
    return column.channel >= 0 && enabled;
}

} // namespace

double EffectiveParticleDensity(const data::clsDataRecordSet& recordSet) {
    calc::clsParticleDataCalculator calculator;
    calculator.ParticleDensity(recordSet.GetParticleDensity());
    return calculator.ParticleDensity();
}

void ConfigureCalculator(calc::clsParticleDataCalculator& calculator,
                         data::clsDataRecordSet* recordSet, const TableViewOptions& options) {
    const bool iaq = IsIaqData(recordSet);
    calculator.DataRecordSet(recordSet);
    calculator.CumulativeModeEnabled(!options.particleDifferential);
    calculator.NormalizedCountsEnabled(options.showParticleNorm);
    calculator.NormalizedCountUnits(options.EffectiveParticleNormUnits());
    calculator.ParticleDensity(recordSet->GetParticleDensity());
    calculator.MassConcentrationsEnabled(options.showMassConcentrations && iaq);
    calculator.ParticulateMatterEnabled(options.showParticulateMatter && iaq);
}

DataRowWriter::DataRowWriter(GridModel& grid, std::vector<ColumnTarget> targets, int firstRow,
                             data::clsDataRecordSet& recordSet, const TableViewOptions& options,
                             const modConfig::ConfigStore& store)
    : grid_(grid), firstRow_(firstRow), recordSet_(recordSet), options_(options), store_(store),
      timestampText_(options.isoDates), columnStatus_(targets.size(), 0),
      numericCells_(targets.size(), 0) {
    plans_.reserve(targets.size());
    for (const ColumnTarget& target : targets) {
        const TableColumn& column = *target.column;
        ColumnPlan plan{&column, target.gridColumn,
                        column.kind == TableColumnKind::LocationNumber
                            ? 0
                            : modUnits::GetDecimalPlaces(column.dataType, column.units),
                        std::nullopt, RecordColumnValues::For(column, recordSet, options)};
        if (plan.values) {
            grid_.ReadNumbers(plan.gridColumn, firstRow_, plan.values);
        }
        writesFromRecords_ = writesFromRecords_ || !plan.values;
        plans_.push_back(std::move(plan));
    }
}

void DataRowWriter::WriteRows() {
    PrepareCalculator();
    const std::int32_t count = recordSet_.RecordCount();
    for (std::int32_t index = 0; index < count; ++index) {
        WriteRecord(firstRow_ + index, index);
    }
    for (std::size_t i = 0; i < plans_.size(); ++i) {
        grid_.SetColumnUserValue(plans_[i].gridColumn, columnStatus_[i]);
    }
}

// The calculator computes only what the target columns show.
void DataRowWriter::PrepareCalculator() {
    ConfigureCalculator(calculator_, &recordSet_, options_);
    const auto shows = [this](std::initializer_list<TableColumnKind> kinds) {
        return std::any_of(plans_.begin(), plans_.end(), [kinds](const ColumnPlan& plan) {
            return std::find(kinds.begin(), kinds.end(), plan.column->kind) != kinds.end();
        });
    };
    calculator_.NormalizedCountsEnabled(calculator_.NormalizedCountsEnabled() &&
                                        shows({TableColumnKind::ParticleNorm}));
    calculator_.MassConcentrationsEnabled(calculator_.MassConcentrationsEnabled() &&
                                          shows({TableColumnKind::MassConcentration}));
    calculator_.ParticulateMatterEnabled(
        calculator_.ParticulateMatterEnabled() &&
        shows({TableColumnKind::ParticulateMatter, TableColumnKind::TotalParticulateMatter}));
    calculates_ = calculator_.NormalizedCountsEnabled() ||
                  calculator_.MassConcentrationsEnabled() || calculator_.ParticulateMatterEnabled();
    locationSource_ = ResolvedLocationSource(options_.locationNameSource, recordSet_);
}

// The calculator keeps its keys while the channels stay the same, so the slots are found once.
void DataRowWriter::FindResultSlots() {
    slotKeys_ = results_.Keys();
    for (ColumnPlan& plan : plans_) {
        plan.resultSlot =
            slotKeys_ ? slotKeys_->Find(plan.column->dataType) : std::optional<std::int32_t>();
    }
}

void DataRowWriter::WriteRecord(int row, std::int32_t index) {
    // The row record is refilled only for cells that are written from it.
    const data::clsDataRecord* record = writesFromRecords_ ? recordSet_.Record(index) : nullptr;
    if (calculates_) {
        calculator_.DataRecord(record);
        calculator_.Calculate(results_);
        if (results_.Keys() != slotKeys_) {
            FindResultSlots();
        }
    }
    for (std::size_t i = 0; i < plans_.size(); ++i) {
        if (plans_[i].values) {
            WriteReadCell(row, i, index);
        } else {
            WriteCell(row, i, *record);
        }
    }
}

void DataRowWriter::WriteCell(int row, std::size_t target, const data::clsDataRecord& record) {
    const ColumnPlan& plan = plans_[target];
    const TableColumn& column = *plan.column;
    const int gridColumn = plan.gridColumn;
    const std::int16_t channel = column.channel;
    switch (column.kind) {
    case TableColumnKind::Timestamp:
        grid_.SetText(gridColumn, row, timestampText_.Format(record.GetTimeStamp()));
        return;
    case TableColumnKind::LocationName:
        WriteLocationName(gridColumn, row, record.GetLocationID());
        return;
    case TableColumnKind::ParticleNorm:
    case TableColumnKind::MassConcentration:
        if (HasEnabledChannel(column, record.GetPartChanEnable(channel))) {
            WriteDerivedValue(row, target, record.GetPartChanStatus(channel));
            return;
        }
        break;
    case TableColumnKind::ParticulateMatter:
    case TableColumnKind::TotalParticulateMatter:
        WriteDerivedValue(row, target, record.GetPartChanStatus(channel));
        return;
    default: // recorded quantities without a channel to read: placeholders
        break;
    }
    grid_.SetNumberType(gridColumn, row, plan.decimals);
}

void DataRowWriter::WriteLocationName(int gridColumn, int row, std::int32_t locationId) {
    auto [known, added] = locationTextIds_.try_emplace(locationId, 0);
    if (added) {
        known->second =
            grid_.InternText(LocationNameFrom(locationSource_, recordSet_, store_, locationId));
    }
    if (known->second != 0) {
        grid_.SetTextId(gridColumn, row, known->second);
    }
}

void DataRowWriter::WriteValue(int row, std::size_t target, double value, std::uint8_t status) {
    const ColumnPlan& plan = plans_[target];
    grid_.SetNumber(plan.gridColumn, row, calc::RequireFinite(value, plan.column->dataType.c_str()),
                    plan.decimals);
    ++numericCells_[target];
    MarkStatus(row, target, status);
}

void DataRowWriter::WriteReadCell(int row, std::size_t target, std::int32_t index) {
    const ColumnPlan& plan = plans_[target];
    grid_.SetDecimals(plan.gridColumn, row, plan.decimals);
    const data::ChannelSample sample = plan.values->Sample(static_cast<std::size_t>(index));
    if (sample.enable) {
        calc::RequireFinite(sample.value, plan.column->dataType.c_str());
        ++numericCells_[target];
        MarkStatus(row, target, sample.status);
    }
}

void DataRowWriter::MarkStatus(int row, std::size_t target, std::uint8_t status) {
    if (status == 0) {
        return;
    }
    const ColumnPlan& plan = plans_[target];
    // A cell carries only the faults that concern its quantity, so cells and summary rows agree.
    const std::uint8_t concerning = recordStatus::MaskStatusBits(plan.column->dataType, status);
    if (concerning != 0) {
        MarkFaultyCell(grid_, plan.gridColumn, row, concerning);
        columnStatus_[target] |= concerning;
    }
}

void DataRowWriter::WriteDerivedValue(int row, std::size_t target, std::uint8_t status) {
    const ColumnPlan& plan = plans_[target];
    if (const auto value = plan.resultSlot ? results_.AtSlot(*plan.resultSlot) : std::nullopt) {
        WriteValue(row, target, *value, status);
        return;
    }
    grid_.SetNumberType(plan.gridColumn, row, plan.decimals);
}

} // namespace kestrix::table
