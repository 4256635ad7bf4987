#include "kestrix/table/tableColumns.h"

#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"

#include <algorithm>
#include <cctype>

namespace kestrix::table {
namespace {

using modUnits::GetUnitCode;
using modUnits::GetUnitShortName;

std::string InParentheses(const std::string& text) {
    return "(" + text + ")";
}

std::string UnitCaption(std::int32_t unit) {
    return InParentheses(GetUnitShortName(unit));
}

std::int16_t ParticleChannelCount(const data::clsDataRecordSet* recordSet) {
    return recordSet ? recordSet->GetPartChanCount() : std::int16_t{0};
}

std::int16_t AnalogChannelCount(const data::clsDataRecordSet* recordSet) {
    return recordSet ? recordSet->GetAnalogChanCount() : std::int16_t{0};
}

TableColumn Placeholder(TableColumnKind kind, std::string unitCaption, std::int32_t units) {
    TableColumn column;
    column.kind = kind;
    column.unitCaption = std::move(unitCaption);
    column.units = units;
    return column;
}

// One column per particle channel, or one placeholder without channels; the tag of a channel
// comes from its size text.
template <typename MakeTag>
void AddParticleColumns(std::vector<TableColumn>& columns, const data::clsDataRecordSet* recordSet,
                        TableColumnKind kind, std::int32_t units, MakeTag makeTag) {
    const std::int16_t count = ParticleChannelCount(recordSet);
    if (count == 0) {
        columns.push_back(Placeholder(kind, UnitCaption(units), units));
        return;
    }
    for (std::int16_t channel = 0; channel < count; ++channel) {
        TableColumn column = Placeholder(kind, UnitCaption(units), units);
        column.dataType = makeTag(recordSet->GetPartChanType(channel));
        column.channel = channel;
        columns.push_back(std::move(column));
    }
}

void AddParticulateMatterColumns(std::vector<TableColumn>& columns,
                                 const data::clsDataRecordSet* recordSet) {
    constexpr std::int32_t units = modUnits::kUnitMicrogramsPerCubicMeter;
    const std::int16_t count = ParticleChannelCount(recordSet);
    if (count == 0) {
        columns.push_back(
            Placeholder(TableColumnKind::TotalParticulateMatter, UnitCaption(units), units));
        return;
    }
    for (std::int16_t channel = 1; channel < count; ++channel) {
        TableColumn column =
            Placeholder(TableColumnKind::ParticulateMatter, UnitCaption(units), units);
        column.dataType =
            modDataType::MakeParticulateMatterType(recordSet->GetPartChanType(channel));
        column.channel = channel;
        columns.push_back(std::move(column));
    }
    TableColumn total =
        Placeholder(TableColumnKind::TotalParticulateMatter, UnitCaption(units), units);
    total.dataType = "TPM";
    total.channel = static_cast<std::int16_t>(count - 1);
    columns.push_back(std::move(total));
}

void SetConversion(TableColumn& column, std::int32_t from, std::int32_t to) {
    column.factor = modUnits::GetConversionFactor(from, to);
    column.offset = modUnits::GetConversionOffset(from, to);
}

TableColumn SampleTimeColumn(const data::clsDataRecordSet* recordSet, std::int32_t target) {
    TableColumn column = Placeholder(TableColumnKind::SampleTime, UnitCaption(target), target);
    column.dataType = "STIM";
    const std::int32_t source = recordSet ? GetUnitCode(recordSet->GetSampleTimeUnits()) : target;
    if (recordSet && source == modUnits::kUnitNone) {
        column.units = modUnits::kUnitNone;
        column.unitCaption = recordSet->GetSampleTimeUnits();
    }
    SetConversion(column, source, column.units);
    return column;
}

TableColumn SampleVolumeColumn(std::int32_t target) {
    TableColumn column = Placeholder(TableColumnKind::SampleVolume, UnitCaption(target), target);
    column.dataType = "SVOL";
    SetConversion(column, modUnits::kUnitCubicFeet, target);
    return column;
}

std::int32_t EnvironmentalTarget(const std::string& tag, std::int32_t source,
                                 const TableViewOptions& options) {
    if (tag == "TEMP") {
        return options.temperatureUnits;
    }
    if (tag == "AIRV") {
        return options.airVelocityUnits;
    }
    if (tag == "DPRS") {
        return options.diffPressureUnits;
    }
    return source;
}

TableColumn EnvironmentalColumn(const data::clsDataRecordSet& recordSet, std::int16_t channel,
                                const TableViewOptions& options) {
    TableColumn column = Placeholder(TableColumnKind::Environmental, {}, modUnits::kUnitNone);
    column.dataType = recordSet.GetAnalogChanType(channel);
    column.channel = channel;
    const std::string unitText = recordSet.GetAnalogChanUnits(channel);
    const std::int32_t source = GetUnitCode(unitText);
    std::string caption = unitText;
    if (source != modUnits::kUnitNone) {
        column.units = EnvironmentalTarget(column.dataType, source, options);
        caption = GetUnitShortName(column.units);
        SetConversion(column, source, column.units);
    }
    if (!caption.empty()) {
        column.unitCaption = InParentheses(caption);
    }
    return column;
}

void AddEnvironmentalColumns(std::vector<TableColumn>& columns,
                             const data::clsDataRecordSet* recordSet,
                             const TableViewOptions& options) {
    const std::int16_t count = AnalogChannelCount(recordSet);
    if (count == 0) {
        columns.push_back(Placeholder(TableColumnKind::Environmental, {}, modUnits::kUnitNone));
        return;
    }
    for (std::int16_t channel = 0; channel < count; ++channel) {
        columns.push_back(EnvironmentalColumn(*recordSet, channel, options));
    }
}

TableColumn LocationColumn(TableColumnKind kind, std::string caption) {
    TableColumn column = Placeholder(kind, std::move(caption), modUnits::kUnitNone);
    column.dataType = "LOC";
    return column;
}

std::string SameTag(const std::string& size) {
    return size;
}

} // namespace

bool IsIaqData(const data::clsDataRecordSet* recordSet) {
    if (!recordSet) {
        return false;
    }
    std::string name = recordSet->GetSensorName();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name.find("IAQ") != std::string::npos;
}

std::vector<TableColumn> BuildColumnList(const data::clsDataRecordSet* recordSet,
                                         const TableViewOptions& options) {
    const bool iaq = IsIaqData(recordSet);
    std::vector<TableColumn> columns;
    TableColumn timestamp = Placeholder(TableColumnKind::Timestamp, {}, modUnits::kUnitNone);
    timestamp.dataType = "TIME";
    columns.push_back(std::move(timestamp));
    if (options.showLocationNumbers) {
        columns.push_back(LocationColumn(TableColumnKind::LocationNumber, "(Number)"));
    }
    if (options.showLocationNames) {
        columns.push_back(LocationColumn(TableColumnKind::LocationName, "(Name)"));
    }
    if (options.showParticleRaw) {
        AddParticleColumns(columns, recordSet, TableColumnKind::ParticleRaw, modUnits::kUnitCounts,
                           SameTag);
    }
    if (options.showParticleNorm) {
        AddParticleColumns(columns, recordSet, TableColumnKind::ParticleNorm,
                           options.EffectiveParticleNormUnits(),
                           modDataType::MakeNormalizedCountType);
    }
    if (options.showMassConcentrations && iaq) {
        AddParticleColumns(columns, recordSet, TableColumnKind::MassConcentration,
                           modUnits::kUnitMicrogramsPerCubicMeter,
                           modDataType::MakeMassConcentrationType);
    }
    if (options.showParticulateMatter && iaq) {
        AddParticulateMatterColumns(columns, recordSet);
    }
    if (options.showSampleTime) {
        columns.push_back(SampleTimeColumn(recordSet, options.sampleTimeUnits));
    }
    if (options.showSampleVolume) {
        columns.push_back(SampleVolumeColumn(options.sampleVolumeUnits));
    }
    if (options.showEnvironmentals) {
        AddEnvironmentalColumns(columns, recordSet, options);
    }
    return columns;
}

std::string ColumnTitle(const TableColumn& column) {
    if (!column.IsPlaceholder()) {
        return modDataType::GetDataTypeName(column.dataType);
    }
    switch (column.kind) {
    case TableColumnKind::ParticleRaw:
    case TableColumnKind::ParticleNorm:
        return "Particle";
    case TableColumnKind::Environmental:
        return "Environmental";
    default:
        return {};
    }
}

bool IsValueColumn(const TableColumn& column) {
    return column.kind != TableColumnKind::Timestamp &&
           column.kind != TableColumnKind::LocationNumber &&
           column.kind != TableColumnKind::LocationName;
}

} // namespace kestrix::table
