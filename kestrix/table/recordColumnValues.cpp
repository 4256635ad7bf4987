#include "kestrix/table/recordColumnValues.h"

#include "kestrix/calc/unitConversion.h"

#include <limits>

namespace kestrix::table {
namespace {

bool ShowsRecordedQuantity(const TableColumn& column) {
    switch (column.kind) {
    case TableColumnKind::LocationNumber:
    case TableColumnKind::SampleTime:
    case TableColumnKind::SampleVolume:
        return true;
    case TableColumnKind::ParticleRaw:
    case TableColumnKind::Environmental:
        return column.channel >= 0;
    default:
        return false;
    }
}

} // namespace

std::shared_ptr<const RecordColumnValues>
RecordColumnValues::For(const TableColumn& column, const data::clsDataRecordSet& recordSet,
                        const TableViewOptions& options) {
    if (column.IsPlaceholder() || !ShowsRecordedQuantity(column)) {
        return nullptr;
    }
    return std::shared_ptr<const RecordColumnValues>(
        new RecordColumnValues(column, recordSet, !options.particleDifferential));
}

RecordColumnValues::RecordColumnValues(const TableColumn& column,
                                       const data::clsDataRecordSet& recordSet, bool cumulative)
    : recordSet_(recordSet), column_(column), cumulative_(cumulative) {
    if (column_.kind != TableColumnKind::SampleVolume) {
        return;
    }
    const std::int32_t timeUnits = modUnits::GetUnitCode(recordSet.GetSampleTimeUnits());
    sampleTimeToMinutes_ = modUnits::GetConversionFactor(timeUnits, modUnits::kUnitMinutes);
    sampleTimeOffsetMinutes_ = modUnits::GetConversionOffset(timeUnits, modUnits::kUnitMinutes);
    flowRateCfm_ = modUnits::ConvertUnits(recordSet.GetSensorFlowRate(),
                                          modUnits::GetUnitCode(recordSet.GetSensorFlowRateUnits()),
                                          modUnits::kUnitCubicFeetPerMinute);
}

std::size_t RecordColumnValues::Count() const {
    return static_cast<std::size_t>(recordSet_.RecordCount());
}

double RecordColumnValues::At(std::size_t index) const {
    const data::ChannelSample sample = Sample(index);
    return sample.enable ? sample.value : std::numeric_limits<double>::quiet_NaN();
}

data::ChannelSample RecordColumnValues::Sample(std::size_t index) const {
    const auto record = static_cast<std::int32_t>(index);
    const auto converted = [this](data::ChannelSample sample) {
        sample.value = column_.Convert(sample.value);
        return sample;
    };
    switch (column_.kind) {
    case TableColumnKind::LocationNumber:
        return {static_cast<double>(recordSet_.RecordLocationID(record)), 0, true};
    case TableColumnKind::ParticleRaw:
        return recordSet_.PartChanSample(record, column_.channel, cumulative_);
    case TableColumnKind::SampleTime:
        return converted(recordSet_.SampleTimeSample(record));
    case TableColumnKind::SampleVolume: {
        data::ChannelSample sample = recordSet_.SampleTimeSample(record);
        const double minutes = sample.value * sampleTimeToMinutes_ + sampleTimeOffsetMinutes_;
        sample.value = minutes * flowRateCfm_;
        return converted(sample);
    }
    default:
        return converted(recordSet_.AnalogChanSample(record, column_.channel));
    }
}

} // namespace kestrix::table
