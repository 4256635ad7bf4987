#pragma once

// Auto-detect remembers where it found an instrument, for the window and the command line alike.

namespace kestrix::instrument {
class SessionCore;
} // namespace kestrix::instrument

namespace kestrix::modConfig {
class ConfigStore;
} // namespace kestrix::modConfig

namespace kestrix::scanMemory {

// The session's scan starts at the address found last and uses the configured quick timeout.
void PrepareScan(instrument::SessionCore& session, const modConfig::ConfigStore& store);
// After an identification: the address the instrument answered at.
void RememberFoundAddress(const instrument::SessionCore& session, modConfig::ConfigStore& store);

} // namespace kestrix::scanMemory
