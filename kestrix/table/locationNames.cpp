#include "kestrix/table/locationNames.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"

namespace kestrix::table {

std::int32_t ResolvedLocationSource(std::int32_t source, const data::clsDataRecordSet& recordSet) {
    if (source == kInstrumentNames && !recordSet.HasLocationNames()) {
        return kMyLongNames;
    }
    return source;
}

std::string LocationNameFrom(std::int32_t resolvedSource, const data::clsDataRecordSet& recordSet,
                             const modConfig::ConfigStore& store, std::int32_t locationId) {
    switch (resolvedSource) {
    case kInstrumentNames:
        return recordSet.GetLocationName(locationId);
    case kMyLongNames:
        return store.GetLongLocationName(locationId);
    case kMyShortNames:
        return store.GetShortLocationName(locationId);
    default:
        return {};
    }
}

std::function<std::string(std::int32_t locationId)>
ConfiguredLocationNamer(const data::clsDataRecordSet& recordSet,
                        const modConfig::ConfigStore& store) {
    const std::int32_t source =
        ResolvedLocationSource(ReadTableViewOptions(store).locationNameSource, recordSet);
    return [source, &recordSet, &store](std::int32_t locationId) {
        return LocationNameFrom(source, recordSet, store, locationId);
    };
}

} // namespace kestrix::table
