#pragma once

// Auto-detect remembers where it found an instrument, for the window and the command line alike.

namespace kestrix {
class SessionCore;
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::scanMemory {

// The session's scan starts at the address found last and uses the configured quick timeout.
void PrepareScan(SessionCore& session, const modConfig::ConfigStore& store);
// After an identification: the address the instrument answered at.
void RememberFoundAddress(const SessionCore& session, modConfig::ConfigStore& store);

} // namespace kestrix::scanMemory
