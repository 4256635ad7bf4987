#include "ResultMeaning.h"

#include "tolvex/ResultCode.h"

namespace tolvex {
namespace {

const char* DeviceExceptionMeaning(uint16_t code) {
    switch (code) {
    case 1:
        return "device exception: illegal function";
    case 2:
        return "device exception: illegal data address";
    case 3:
        return "device exception: illegal data value";
    case 4:
        return "device exception: slave device failure";
    case 5:
        return "device exception: acknowledge";
    case 6:
        return "device exception: slave device busy";
    default:
        return "device exception";
    }
}

} // namespace

const char* ResultMeaning(uint16_t code) {
    switch (static_cast<ResultCode>(code)) {
    case ResultCode::Success:
        return "success";
    case ResultCode::NoReply:
        return "no reply within the timeout";
    case ResultCode::ChecksumError:
        return "CRC or LRC error";
    case ResultCode::ReplyMismatch:
        return "reply does not match the request";
    case ResultCode::WrongLength:
        return "reply of the wrong length";
    case ResultCode::SendFailed:
        return "frame could not be sent";
    case ResultCode::ReceiveFailed:
        return "receive failed";
    case ResultCode::NotOpen:
        return "connection not open";
    case ResultCode::HandleOutOfRange:
        return "handle outside 0..99";
    case ResultCode::IndexOutOfRange:
        return "index outside the handle's buffer";
    case ResultCode::Pending:
        return "request defined, not yet completed";
    case ResultCode::SocketLibraryFailed:
        return "the socket library could not be started";
    case ResultCode::ConnectFailed:
        return "the connection could not be made";
    case ResultCode::IpAddrOutOfRange:
        return "IP address part outside 0..255";
    case ResultCode::AddressInvalid:
        return "the address text does not convert";
    case ResultCode::TimeoutOutOfRange:
        return "timeout outside 300..10000";
    case ResultCode::ConnectionOutOfRange:
        return "connection outside 0..32";
    case ResultCode::BaudRateOutOfRange:
        return "baud rate outside 0..11";
    case ResultCode::ParityOutOfRange:
        return "parity outside 0..2";
    case ResultCode::StopBitsOutOfRange:
        return "stop bits outside 0..1";
    case ResultCode::DataBitsOutOfRange:
        return "data bits outside 0..1";
    case ResultCode::ProtocolModeOutOfRange:
        return "protocol mode outside 0..1";
    case ResultCode::PortOpenFailed:
        return "the serial port could not be opened or configured";
    case ResultCode::AlreadyConnected:
        return "already connected";
    default:
        return DeviceExceptionMeaning(code);
    }
}

} // namespace tolvex
