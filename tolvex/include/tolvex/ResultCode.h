#pragma once

#include "tolvex/tolvex_constants.h"

#include <cstdint>

namespace tolvex {

// Completion codes of a transaction, a handle or the control, valued from the C constants. Device
// exception codes 1..255 share this number space, so transactions return plain 16-bit codes;
// these names mark the fixed ones.
enum class ResultCode : uint16_t {
    Success = TOLVEX_SUCCESS,
    ValueStored = TOLVEX_VALUE_STORED,
    NoReply = TOLVEX_NO_REPLY,
    ChecksumError = TOLVEX_CHECKSUM_ERROR,
    ReplyMismatch = TOLVEX_REPLY_MISMATCH,
    WrongLength = TOLVEX_WRONG_LENGTH,
    SendFailed = TOLVEX_SEND_FAILED,
    ReceiveFailed = TOLVEX_RECEIVE_FAILED,
    NotOpen = TOLVEX_NOT_OPEN,
    HandleOutOfRange = TOLVEX_HANDLE_OUT_OF_RANGE,
    IndexOutOfRange = TOLVEX_INDEX_OUT_OF_RANGE,
    Pending = TOLVEX_PENDING,
    SocketLibraryFailed = TOLVEX_SOCKET_LIBRARY_FAILED,
    ConnectFailed = TOLVEX_CONNECT_FAILED,
    IpAddrOutOfRange = TOLVEX_IP_ADDR_OUT_OF_RANGE,
    AddressInvalid = TOLVEX_ADDRESS_INVALID,
    TimeoutOutOfRange = TOLVEX_TIMEOUT_OUT_OF_RANGE,
    ConnectionOutOfRange = TOLVEX_CONNECTION_OUT_OF_RANGE,
    BaudRateOutOfRange = TOLVEX_BAUD_RATE_OUT_OF_RANGE,
    ParityOutOfRange = TOLVEX_PARITY_OUT_OF_RANGE,
    StopBitsOutOfRange = TOLVEX_STOP_BITS_OUT_OF_RANGE,
    DataBitsOutOfRange = TOLVEX_DATA_BITS_OUT_OF_RANGE,
    ProtocolModeOutOfRange = TOLVEX_PROTOCOL_MODE_OUT_OF_RANGE,
    PortOpenFailed = TOLVEX_PORT_OPEN_FAILED,
    AlreadyConnected = TOLVEX_ALREADY_CONNECTED,
};

constexpr uint16_t Code(ResultCode code) {
    return static_cast<uint16_t>(code);
}

} // namespace tolvex
