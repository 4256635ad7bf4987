#include "kestrix/table/dataRows.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/locationNames.h"
#include "kestrix/table/tableCellStyle.h"
#include "kestrix/table/tableRowKinds.h"

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

DataRowWriter::DataRowWriter(GridModel& grid, const std::vector<TableColumn>& columns,
                             data::clsDataRecordSet* recordSet, const TableViewOptions& options,
                             const modConfig::ConfigStore& store)
    : grid_(grid), recordSet_(recordSet), options_(options), store_(store),
      timestampText_(options.isoDates), columnStatus_(columns.size(), 0) {
    plans_.reserve(columns.size());
    for (const TableColumn& column : columns) {
        plans_.push_back(
            {&column, modUnits::GetDecimalPlaces(column.dataType, column.units), std::nullopt});
    }
}

void DataRowWriter::WriteRows() {
    const std::int32_t count = recordSet_ ? recordSet_->RecordCount() : 0;
    if (count == 0) {
        grid_.SetRowUserValue(AddTableRow(grid_), kRowData);
        return;
    }
    PrepareCalculator();
    // Room for the statistics rows that follow, so the columns are not moved for them.
    grid_.ReserveRows(grid_.RowCount() + count + 16);
    const int firstRow = AddTableRows(grid_, count);
    for (std::int32_t index = 0; index < count; ++index) {
        const int row = firstRow + index;
        grid_.SetRowUserValue(row, kRowData);
        WriteRecord(row, *recordSet_->Record(index));
    }
    for (std::size_t i = 0; i < columnStatus_.size(); ++i) {
        grid_.SetColumnUserValue(static_cast<int>(i) + 1, columnStatus_[i]);
    }
}

void DataRowWriter::PrepareCalculator() {
    ConfigureCalculator(calculator_, recordSet_, options_);
    locationSource_ = ResolvedLocationSource(options_.locationNameSource, *recordSet_);

    const std::int32_t timeUnits = modUnits::GetUnitCode(recordSet_->GetSampleTimeUnits());
    sampleTimeToMinutes_ = modUnits::GetConversionFactor(timeUnits, modUnits::kUnitMinutes);
    sampleTimeOffsetMinutes_ = modUnits::GetConversionOffset(timeUnits, modUnits::kUnitMinutes);
    flowRateCfm_ =
        modUnits::ConvertUnits(recordSet_->GetSensorFlowRate(),
                               modUnits::GetUnitCode(recordSet_->GetSensorFlowRateUnits()),
                               modUnits::kUnitCubicFeetPerMinute);
}

// The calculator keeps its keys while the channels stay the same, so the slots are found once.
void DataRowWriter::FindResultSlots() {
    slotKeys_ = results_.Keys();
    for (ColumnPlan& plan : plans_) {
        plan.resultSlot =
            slotKeys_ ? slotKeys_->Find(plan.column->dataType) : std::optional<std::int32_t>();
    }
}

void DataRowWriter::WriteRecord(int row, const data::clsDataRecord& record) {
    calculator_.DataRecord(&record);
    calculator_.Calculate(results_);
    if (results_.Keys() != slotKeys_) {
        FindResultSlots();
    }
    for (std::size_t i = 0; i < plans_.size(); ++i) {
        WriteCell(static_cast<int>(i) + 1, row, plans_[i], record);
    }
}

void DataRowWriter::WriteCell(int gridColumn, int row, const ColumnPlan& plan,
                              const data::clsDataRecord& record) {
    const TableColumn& column = *plan.column;
    const std::int16_t channel = column.channel;
    switch (column.kind) {
    case TableColumnKind::Timestamp:
        grid_.SetText(gridColumn, row, timestampText_.Format(record.GetTimeStamp()));
        return;
    case TableColumnKind::LocationNumber:
        grid_.SetNumber(gridColumn, row, record.GetLocationID(), 0);
        return;
    case TableColumnKind::LocationName:
        WriteLocationName(gridColumn, row, record.GetLocationID());
        return;
    case TableColumnKind::ParticleRaw:
        if (HasEnabledChannel(column, record.GetPartChanEnable(channel))) {
            WriteValue(gridColumn, row, plan,
                       record.GetPartChanValue(channel, !options_.particleDifferential),
                       record.GetPartChanStatus(channel));
            return;
        }
        break;
    case TableColumnKind::ParticleNorm:
    case TableColumnKind::MassConcentration:
        if (HasEnabledChannel(column, record.GetPartChanEnable(channel))) {
            WriteDerivedValue(gridColumn, row, plan, record.GetPartChanStatus(channel));
            return;
        }
        break;
    case TableColumnKind::ParticulateMatter:
    case TableColumnKind::TotalParticulateMatter:
        WriteDerivedValue(gridColumn, row, plan, record.GetPartChanStatus(channel));
        return;
    case TableColumnKind::SampleTime:
        WriteValue(gridColumn, row, plan, column.Convert(record.GetSampleTimeValue()),
                   record.GetSampleTimeStatus());
        return;
    case TableColumnKind::SampleVolume:
        WriteValue(gridColumn, row, plan, column.Convert(SampleVolumeInCubicFeet(record)),
                   record.GetSampleTimeStatus());
        return;
    case TableColumnKind::Environmental:
        if (HasEnabledChannel(column, record.GetAnalogChanEnable(channel))) {
            WriteValue(gridColumn, row, plan, column.Convert(record.GetAnalogChanValue(channel)),
                       record.GetAnalogChanStatus(channel));
            return;
        }
        break;
    }
    grid_.SetNumberType(gridColumn, row, plan.decimals);
}

void DataRowWriter::WriteLocationName(int gridColumn, int row, std::int32_t locationId) {
    const std::string name = LocationNameFrom(locationSource_, *recordSet_, store_, locationId);
    if (!name.empty()) {
        grid_.SetText(gridColumn, row, name);
    }
}

void DataRowWriter::WriteValue(int gridColumn, int row, const ColumnPlan& plan, double value,
                               std::uint8_t status) {
    grid_.SetNumber(gridColumn, row, calc::RequireFinite(value, plan.column->dataType.c_str()),
                    plan.decimals);
    if (status == 0) {
        return;
    }
    // A cell carries only the faults that concern its quantity, so cells and summary rows agree.
    const std::uint8_t concerning = recordStatus::MaskStatusBits(plan.column->dataType, status);
    if (concerning != 0) {
        MarkFaultyCell(grid_, gridColumn, row, concerning);
        columnStatus_[static_cast<std::size_t>(gridColumn - 1)] |= concerning;
    }
}

void DataRowWriter::WriteDerivedValue(int gridColumn, int row, const ColumnPlan& plan,
                                      std::uint8_t status) {
    if (const auto value = plan.resultSlot ? results_.AtSlot(*plan.resultSlot) : std::nullopt) {
        WriteValue(gridColumn, row, plan, *value, status);
        return;
    }
    grid_.SetNumberType(gridColumn, row, plan.decimals);
}

double DataRowWriter::SampleVolumeInCubicFeet(const data::clsDataRecord& record) const {
    const double minutes =
        record.GetSampleTimeValue() * sampleTimeToMinutes_ + sampleTimeOffsetMinutes_;
    return minutes * flowRateCfm_;
}

} // namespace kestrix::table
