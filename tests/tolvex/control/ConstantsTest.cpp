#include "RequestSlot.h"
#include "ResultMeaning.h"
#include "tolvex/Enums.h"
#include "tolvex/ResultCode.h"
#include "tolvex/tolvex_constants.h"

#include <array>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tolvex {
namespace {

// A C constant beside the C++ enumerator that must carry the same value.
template <class Enum>
struct Twin {
    int c;
    Enum cpp;
};

template <class Enum, size_t N>
constexpr bool SameValues(const std::array<Twin<Enum>, N>& twins) {
    for (const Twin<Enum>& twin : twins) {
        if (twin.c != static_cast<int>(twin.cpp)) {
            return false;
        }
    }
    return true;
}

static_assert(SameValues(std::array<Twin<enumBaud>, 12>{{
    {TOLVEX_B300, enumBaud::B300},
    {TOLVEX_B600, enumBaud::B600},
    {TOLVEX_B1200, enumBaud::B1200},
    {TOLVEX_B2400, enumBaud::B2400},
    {TOLVEX_B4800, enumBaud::B4800},
    {TOLVEX_B9600, enumBaud::B9600},
    {TOLVEX_B14000, enumBaud::B14000},
    {TOLVEX_B19200, enumBaud::B19200},
    {TOLVEX_B38400, enumBaud::B38400},
    {TOLVEX_B56000, enumBaud::B56000},
    {TOLVEX_B57600, enumBaud::B57600},
    {TOLVEX_B115200, enumBaud::B115200},
}}));

static_assert(SameValues(std::array<Twin<enumBits>, 2>{{
    {TOLVEX_BITS_SEVEN, enumBits::Seven},
    {TOLVEX_BITS_EIGHT, enumBits::Eight},
}}));

static_assert(SameValues(std::array<Twin<enumParity>, 3>{{
    {TOLVEX_PARITY_NONE, enumParity::NONE},
    {TOLVEX_PARITY_ODD, enumParity::ODD},
    {TOLVEX_PARITY_EVEN, enumParity::EVEN},
}}));

static_assert(SameValues(std::array<Twin<enumStopBits>, 2>{{
    {TOLVEX_STOP_BITS_ONE, enumStopBits::One},
    {TOLVEX_STOP_BITS_TWO, enumStopBits::Two},
}}));

static_assert(SameValues(std::array<Twin<enumMode>, 2>{{
    {TOLVEX_MODE_RTU, enumMode::RTU},
    {TOLVEX_MODE_ASCII, enumMode::ASCII},
}}));

#define PORT(n)                                                                                    \
    { TOLVEX_CONNECTION_PORT##n, enumConnection::Port##n }
static_assert(SameValues(std::array<Twin<enumConnection>, 33>{{
    {TOLVEX_CONNECTION_TCP_IP, enumConnection::TCP_IP},
    PORT(1),
    PORT(2),
    PORT(3),
    PORT(4),
    PORT(5),
    PORT(6),
    PORT(7),
    PORT(8),
    PORT(9),
    PORT(10),
    PORT(11),
    PORT(12),
    PORT(13),
    PORT(14),
    PORT(15),
    PORT(16),
    PORT(17),
    PORT(18),
    PORT(19),
    PORT(20),
    PORT(21),
    PORT(22),
    PORT(23),
    PORT(24),
    PORT(25),
    PORT(26),
    PORT(27),
    PORT(28),
    PORT(29),
    PORT(30),
    PORT(31),
    PORT(32),
}}));
#undef PORT

static_assert(SameValues(std::array<Twin<enumRTSControl>, 3>{{
    {TOLVEX_RTS_DISABLE, enumRTSControl::RTSDisable},
    {TOLVEX_RTS_ENABLE, enumRTSControl::RTSEnable},
    {TOLVEX_RTS_TOGGLE, enumRTSControl::RTSToggle},
}}));

static_assert(SameValues(std::array<Twin<UpdateMode>, 3>{{
    {TOLVEX_UPDATE_DISABLED, UpdateMode::Disabled},
    {TOLVEX_UPDATE_CYCLIC, UpdateMode::Cyclic},
    {TOLVEX_UPDATE_ONCE, UpdateMode::Once},
}}));

constexpr std::array<Twin<ResultCode>, 25> kResultCodes{{
    {TOLVEX_SUCCESS, ResultCode::Success},
    {TOLVEX_VALUE_STORED, ResultCode::ValueStored},
    {TOLVEX_NO_REPLY, ResultCode::NoReply},
    {TOLVEX_CHECKSUM_ERROR, ResultCode::ChecksumError},
    {TOLVEX_REPLY_MISMATCH, ResultCode::ReplyMismatch},
    {TOLVEX_WRONG_LENGTH, ResultCode::WrongLength},
    {TOLVEX_SEND_FAILED, ResultCode::SendFailed},
    {TOLVEX_RECEIVE_FAILED, ResultCode::ReceiveFailed},
    {TOLVEX_NOT_OPEN, ResultCode::NotOpen},
    {TOLVEX_HANDLE_OUT_OF_RANGE, ResultCode::HandleOutOfRange},
    {TOLVEX_INDEX_OUT_OF_RANGE, ResultCode::IndexOutOfRange},
    {TOLVEX_PENDING, ResultCode::Pending},
    {TOLVEX_SOCKET_LIBRARY_FAILED, ResultCode::SocketLibraryFailed},
    {TOLVEX_CONNECT_FAILED, ResultCode::ConnectFailed},
    {TOLVEX_IP_ADDR_OUT_OF_RANGE, ResultCode::IpAddrOutOfRange},
    {TOLVEX_ADDRESS_INVALID, ResultCode::AddressInvalid},
    {TOLVEX_TIMEOUT_OUT_OF_RANGE, ResultCode::TimeoutOutOfRange},
    {TOLVEX_CONNECTION_OUT_OF_RANGE, ResultCode::ConnectionOutOfRange},
    {TOLVEX_BAUD_RATE_OUT_OF_RANGE, ResultCode::BaudRateOutOfRange},
    {TOLVEX_PARITY_OUT_OF_RANGE, ResultCode::ParityOutOfRange},
    {TOLVEX_STOP_BITS_OUT_OF_RANGE, ResultCode::StopBitsOutOfRange},
    {TOLVEX_DATA_BITS_OUT_OF_RANGE, ResultCode::DataBitsOutOfRange},
    {TOLVEX_PROTOCOL_MODE_OUT_OF_RANGE, ResultCode::ProtocolModeOutOfRange},
    {TOLVEX_PORT_OPEN_FAILED, ResultCode::PortOpenFailed},
    {TOLVEX_ALREADY_CONNECTED, ResultCode::AlreadyConnected},
}};
static_assert(SameValues(kResultCodes));

TEST(ResultMeaning, EveryNamedCodeHasAMeaningOfItsOwn) {
    std::set<std::string> texts;
    for (const Twin<ResultCode>& code : kResultCodes) {
        const std::string text = ResultMeaning(Code(code.cpp));
        EXPECT_NE(text, "device exception") << code.c;
        EXPECT_TRUE(texts.insert(text).second) << code.c << ": " << text;
    }
}

TEST(ResultMeaning, CodesWithoutAMeaningOfTheirOwn) {
    EXPECT_STREQ(ResultMeaning(7), "device exception");
    EXPECT_STREQ(ResultMeaning(255), "device exception");
    EXPECT_STREQ(ResultMeaning(256), "unknown code");
    EXPECT_STREQ(ResultMeaning(static_cast<uint16_t>(-1)), "unknown code");
}

} // namespace
} // namespace tolvex
