#include "kestrix/charts/chartData.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/clsParticleDataCalculator.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/table/dataRows.h"
#include "kestrix/table/locationNames.h"
#include "kestrix/table/tableColumns.h"

#include <cmath>
#include <limits>
#include <set>
#include <type_traits>

namespace kestrix::charts {
namespace {

using table::TableColumn;
using table::TableColumnKind;

constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();

// The table's columns for the quantities a chart draws: counts as the table shows them
// (normalized when those are shown, else raw), every environmental channel and, for IAQ data,
// the PM values.
table::TableViewOptions ChartColumnOptions(const table::TableViewOptions& options) {
    table::TableViewOptions chart = options;
    chart.showLocationNumbers = false;
    chart.showLocationNames = false;
    chart.showParticleRaw = !options.showParticleNorm;
    chart.showMassConcentrations = false;
    chart.showParticulateMatter = true;
    chart.showSampleTime = false;
    chart.showSampleVolume = false;
    chart.showEnvironmentals = true;
    return chart;
}

// Of the PM values, those the Air Quality Index judges.
std::optional<iaq::Pollutant> PollutantOf(const data::clsDataRecordSet& recordSet,
                                          const TableColumn& column) {
    if (column.kind != TableColumnKind::ParticulateMatter) {
        return std::nullopt;
    }
    return iaq::PollutantBelow(
        modDataType::ParticleSizeValue(recordSet.GetPartChanType(column.channel)));
}

bool IsCharted(const data::clsDataRecordSet& recordSet, const TableColumn& column) {
    return column.kind == TableColumnKind::ParticleRaw ||
           column.kind == TableColumnKind::ParticleNorm ||
           column.kind == TableColumnKind::Environmental ||
           PollutantOf(recordSet, column).has_value();
}

std::vector<ChartSeries>& ListOf(ChartData& data, TableColumnKind kind) {
    switch (kind) {
    case TableColumnKind::Environmental:
        return data.environmental;
    case TableColumnKind::ParticulateMatter:
        return data.particulateMatter;
    default:
        return data.counts;
    }
}

std::string SeriesKey(const data::clsDataRecordSet& recordSet, const TableColumn& column) {
    if (column.kind == TableColumnKind::Environmental) {
        return column.dataType + "/" + std::to_string(column.channel);
    }
    if (column.kind == TableColumnKind::ParticulateMatter) {
        return column.dataType;
    }
    return recordSet.GetPartChanType(column.channel);
}

// The instrument compares its stored counts, which are raw and cumulative, with the threshold;
// other presentations have nothing to compare it with.
std::optional<double> Threshold(const data::clsDataRecordSet& recordSet, const TableColumn& column,
                                const table::TableViewOptions& options) {
    if (column.kind != TableColumnKind::ParticleRaw || options.particleDifferential ||
        !recordSet.GetPartChanAlarm(column.channel)) {
        return std::nullopt;
    }
    return recordSet.GetPartChanHighThreshold(column.channel);
}

class SeriesFiller {
public:
    SeriesFiller(data::clsDataRecordSet& recordSet, const table::TableViewOptions& options)
        : options_(ChartColumnOptions(options)),
          columns_(table::BuildColumnList(&recordSet, options_)) {
        table::ConfigureCalculator(calculator_, &recordSet, options_);
        for (const TableColumn& column : columns_) {
            if (column.IsPlaceholder() || !IsCharted(recordSet, column)) {
                continue;
            }
            ChartSeries series{SeriesKey(recordSet, column),
                               table::ColumnTitle(column),
                               column.unitCaption,
                               {},
                               Threshold(recordSet, column, options_),
                               PollutantOf(recordSet, column)};
            auto& target = ListOf(data_, column.kind);
            calculated_ = calculated_ || column.kind != TableColumnKind::ParticleRaw;
            target.push_back(std::move(series));
            targets_.push_back({&column, &target, target.size() - 1});
        }
    }

    void Add(std::int32_t row, const data::clsDataRecord& record) {
        data_.times.push_back(record.GetTimeStamp());
        data_.locations.push_back(record.GetLocationID());
        data_.recordRows.push_back(row);
        if (calculated_) {
            calculator_.DataRecord(&record);
            calculator_.Calculate(results_);
        }
        for (const Target& target : targets_) {
            (*target.list)[target.index].values.push_back(Value(*target.column, record));
        }
    }

    void Reserve(std::size_t records) {
        data_.times.reserve(records);
        data_.locations.reserve(records);
        data_.recordRows.reserve(records);
        for (auto* list : {&data_.counts, &data_.environmental, &data_.particulateMatter}) {
            for (ChartSeries& series : *list) {
                series.values.reserve(records);
            }
        }
    }

    ChartData Take() { return std::move(data_); }

private:
    struct Target {
        const TableColumn* column;
        std::vector<ChartSeries>* list;
        std::size_t index;
    };

    double Value(const TableColumn& column, const data::clsDataRecord& record) const {
        const std::int16_t channel = column.channel;
        switch (column.kind) {
        case TableColumnKind::ParticleRaw:
            return record.GetPartChanEnable(channel)
                       ? record.GetPartChanValue(channel, !options_.particleDifferential)
                       : kEmpty;
        case TableColumnKind::ParticleNorm:
        case TableColumnKind::ParticulateMatter:
            return record.GetPartChanEnable(channel)
                       ? results_.Find(column.dataType).value_or(kEmpty)
                       : kEmpty;
        case TableColumnKind::Environmental:
            return record.GetAnalogChanEnable(channel)
                       ? calc::RequireFinite(column.Convert(record.GetAnalogChanValue(channel)),
                                             column.dataType.c_str())
                       : kEmpty;
        default:
            return kEmpty;
        }
    }

    table::TableViewOptions options_;
    std::vector<TableColumn> columns_;
    calc::clsParticleDataCalculator calculator_;
    calc::OrderedValues results_;
    bool calculated_ = false; // a series needs the calculator's values
    std::vector<Target> targets_;
    ChartData data_;
};

} // namespace

ChartData BuildChartData(data::clsDataRecordSet& recordSet,
                         const table::TableViewOptions& options) {
    SeriesFiller filler(recordSet, options);
    const std::int32_t count = recordSet.RecordCount();
    filler.Reserve(static_cast<std::size_t>(count));
    for (std::int32_t row = 0; row < count; ++row) {
        filler.Add(row, *recordSet.Record(row));
    }
    return filler.Take();
}

ChartData ForLocation(const ChartData& all, std::optional<std::int32_t> location) {
    if (!location) {
        return all;
    }
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < all.locations.size(); ++i) {
        if (all.locations[i] == *location) {
            kept.push_back(i);
        }
    }
    const auto pick = [&kept](const auto& values) {
        std::decay_t<decltype(values)> picked;
        picked.reserve(kept.size());
        for (const std::size_t i : kept) {
            picked.push_back(values[i]);
        }
        return picked;
    };
    ChartData one{pick(all.times), pick(all.locations), pick(all.recordRows),
                  all.counts,      all.environmental,   all.particulateMatter};
    for (auto* list : {&one.counts, &one.environmental, &one.particulateMatter}) {
        for (ChartSeries& series : *list) {
            series.values = pick(series.values);
        }
    }
    return one;
}

std::vector<LocationChoice> LocationChoices(const ChartData& all,
                                            const data::clsDataRecordSet& recordSet,
                                            const table::TableViewOptions& options,
                                            const modConfig::ConfigStore& store) {
    const std::set<std::int32_t> ids(all.locations.begin(), all.locations.end());
    const std::int32_t source =
        table::ResolvedLocationSource(options.locationNameSource, recordSet);
    std::vector<LocationChoice> choices;
    for (const std::int32_t id : ids) {
        choices.push_back({id, table::LocationNameFrom(source, recordSet, store, id)});
    }
    return choices;
}

} // namespace kestrix::charts
