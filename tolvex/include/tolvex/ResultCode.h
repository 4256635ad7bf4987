#pragma once

#include <cstdint>

namespace tolvex {

// Completion codes of a transaction, a handle or the control. Device exception codes 1..255 share
// this number space, so transactions return plain 16-bit codes; these names mark the fixed ones.
enum class ResultCode : uint16_t {
    Success = 0,
    ValueStored = 1,
    NoReply = 10,
    ChecksumError = 11,
    ReplyMismatch = 12,
    WrongLength = 13,
    SendFailed = 14,
    ReceiveFailed = 15,
    NotOpen = 16,
    HandleOutOfRange = 20,
    IndexOutOfRange = 22,
    Pending = 23,
    SocketLibraryFailed = 30,
    ConnectFailed = 31,
    IpAddrOutOfRange = 32,
    AddressInvalid = 33,
    TimeoutOutOfRange = 40,
    ConnectionOutOfRange = 41,
    BaudRateOutOfRange = 42,
    ParityOutOfRange = 43,
    StopBitsOutOfRange = 44,
    DataBitsOutOfRange = 45,
    ProtocolModeOutOfRange = 46,
    PortOpenFailed = 47,
    AlreadyConnected = 48,
};

constexpr uint16_t Code(ResultCode code) {
    return static_cast<uint16_t>(code);
}

} // namespace tolvex
