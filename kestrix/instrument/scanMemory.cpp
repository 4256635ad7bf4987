#include "kestrix/instrument/scanMemory.h"

#include "kestrix/instrument/SessionCore.h"
#include "kestrix/shell/modConfig.h"

namespace kestrix::scanMemory {

void PrepareScan(instrument::SessionCore& session, const modConfig::ConfigStore& store) {
    session.SetScanHints({store.Get(modConfig::settings::kLastFoundAddress),
                          store.Get(modConfig::settings::kScanReplyTimeout)});
}

void RememberFoundAddress(const instrument::SessionCore& session, modConfig::ConfigStore& store) {
    store.Set(modConfig::settings::kLastFoundAddress, session.SlaveAddress());
}

} // namespace kestrix::scanMemory
