#pragma once

#include "Instrument.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrix::sim {

// Serves request PDUs (slave address first) from the instrument: functions 3, 4 and 6.
class ModbusSlave {
public:
    explicit ModbusSlave(Instrument& instrument) : instrument_(instrument) {}

    // True when the request is for this instrument (its address, or a broadcast).
    bool IsForUs(std::span<const uint8_t> pdu) const;
    // The reply PDU, or nullopt when nothing is answered (a broadcast, another slave's request).
    std::optional<std::vector<uint8_t>> Answer(std::span<const uint8_t> pdu);

private:
    std::vector<uint8_t> Read(std::span<const uint8_t> pdu, RegisterArea area);
    std::vector<uint8_t> WriteSingle(std::span<const uint8_t> pdu);

    Instrument& instrument_;
};

} // namespace kestrix::sim
