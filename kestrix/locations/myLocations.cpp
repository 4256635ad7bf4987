#include "kestrix/locations/myLocations.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/locations/fixedWidthNames.h"
#include "kestrix/shell/modConfig.h"

namespace kestrix::locations {

LocationNames MyLocationNames(const modConfig::ConfigStore& store) {
    LocationNames names;
    for (int index = 0; index < kNameCount; ++index) {
        names.shortNames[index] = locations::TrimAtNul(store.GetShortLocationName(index));
        names.longNames[index] = locations::TrimAtNul(store.GetLongLocationName(index));
    }
    return names;
}

LocationNames InstrumentLocationNames(const data::clsDataRecordSet& recordSet) {
    LocationNames names;
    for (int index = 0; index < kNameCount; ++index) {
        names.shortNames[index] = recordSet.GetLocationName(index);
        names.longNames[index] = names.shortNames[index];
    }
    return names;
}

void ImportLocationNames(const LocationNames& names, modConfig::ConfigStore& store) {
    for (int index = 0; index < kNameCount; ++index) {
        store.SetShortLocationName(index, names.shortNames[index]);
        store.SetLongLocationName(index, names.longNames[index]);
    }
}

} // namespace kestrix::locations
