#include "ResultMeaning.h"

#include "tolvex/tolvex_constants.h"

#include <array>

namespace tolvex {
namespace {

struct Meaning {
    uint16_t code;
    const char* text;
};

// The one table of meanings: tolvex_error_text, and through it tolvexctl's messages, read it.
// Codes 2..6 are the device exceptions every Modbus device may answer with.
constexpr std::array<Meaning, 30> kMeanings{{
    {TOLVEX_SUCCESS, "success"},
    {TOLVEX_VALUE_STORED, "device exception: illegal function (as the last error after an "
                          "accessor write: the value was stored)"},
    {2, "device exception: illegal data address"},
    {3, "device exception: illegal data value"},
    {4, "device exception: slave device failure"},
    {5, "device exception: acknowledge"},
    {6, "device exception: slave device busy"},
    {TOLVEX_NO_REPLY, "no reply within the timeout"},
    {TOLVEX_CHECKSUM_ERROR, "CRC or LRC error"},
    {TOLVEX_REPLY_MISMATCH, "reply does not match the request"},
    {TOLVEX_WRONG_LENGTH, "reply of the wrong length"},
    {TOLVEX_SEND_FAILED, "frame could not be sent"},
    {TOLVEX_RECEIVE_FAILED, "receive failed"},
    {TOLVEX_NOT_OPEN, "connection not open"},
    {TOLVEX_HANDLE_OUT_OF_RANGE, "handle outside 0..99"},
    {TOLVEX_INDEX_OUT_OF_RANGE, "index outside the handle's buffer"},
    {TOLVEX_PENDING, "request defined, not yet completed"},
    {TOLVEX_SOCKET_LIBRARY_FAILED, "the socket library could not be started"},
    {TOLVEX_CONNECT_FAILED, "the connection could not be made"},
    {TOLVEX_IP_ADDR_OUT_OF_RANGE, "IP address part outside 0..255"},
    {TOLVEX_ADDRESS_INVALID, "the address text does not convert"},
    {TOLVEX_TIMEOUT_OUT_OF_RANGE, "timeout outside 300..10000"},
    {TOLVEX_CONNECTION_OUT_OF_RANGE, "connection outside 0..32"},
    {TOLVEX_BAUD_RATE_OUT_OF_RANGE, "baud rate outside 0..11"},
    {TOLVEX_PARITY_OUT_OF_RANGE, "parity outside 0..2"},
    {TOLVEX_STOP_BITS_OUT_OF_RANGE, "stop bits outside 0..1"},
    {TOLVEX_DATA_BITS_OUT_OF_RANGE, "data bits outside 0..1"},
    {TOLVEX_PROTOCOL_MODE_OUT_OF_RANGE, "protocol mode outside 0..1"},
    {TOLVEX_PORT_OPEN_FAILED, "the serial port could not be opened or configured"},
    {TOLVEX_ALREADY_CONNECTED, "already connected"},
}};

constexpr uint16_t kLastDeviceException = 255;

} // namespace

const char* ResultMeaning(uint16_t code) {
    for (const Meaning& meaning : kMeanings) {
        if (meaning.code == code) {
            return meaning.text;
        }
    }
    return code <= kLastDeviceException ? "device exception" : "unknown code";
}

} // namespace tolvex
