#include "ModbusTcpServer.h"
#include "ProgramRun.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tolvex {
namespace {

using test::ModbusTcpServer;
using test::ProgramOutcome;

ProgramOutcome RunHost(uint16_t port, int first, int count, int readings) {
    return test::RunProgram(C_HOST_PATH, {"127.0.0.1", std::to_string(port), std::to_string(first),
                                          std::to_string(count), std::to_string(readings)});
}

std::string Readings(int count, const std::string& line) {
    std::string text;
    for (int reading = 1; reading <= count; ++reading) {
        text += "reading " + std::to_string(reading) + ":" + line + "\n";
    }
    return text;
}

TEST(CHostExample, PrintsEveryReadingOfTheRegisters) {
    ModbusTcpServer server;
    const std::vector<uint16_t> values{1, 0xFFFF, 0x1234};
    std::string line;
    for (size_t i = 0; i < values.size(); ++i) {
        server.SetHoldingRegister(static_cast<uint16_t>(10 + i), values[i]);
        line += " " + std::to_string(values[i]);
    }
    const ProgramOutcome outcome = RunHost(server.Port(), 10, 3, 3);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "TCP/IP Connection = Open\n" + Readings(3, line));
    EXPECT_EQ(outcome.err, "");
}

TEST(CHostExample, AFailedReadingPrintsItsErrorAndPollingGoesOn) {
    ModbusTcpServer server;
    // The server holds 2000 registers: a read past them is answered with exception 2.
    const ProgramOutcome outcome = RunHost(server.Port(), 1999, 2, 2);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "TCP/IP Connection = Open\n" +
                               Readings(2, " error 2: device exception: illegal data address"));
}

TEST(CHostExample, AConnectionThatCannotBeMadeEndsWithItsError) {
    // A bound socket that does not listen refuses connections on its port.
    const int socketFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const ProgramOutcome outcome = RunHost(ntohs(address.sin_port), 0, 1, 1);
    close(socketFd);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "tolvex-c-host: error 31: the connection could not be made\n");
}

} // namespace
} // namespace tolvex
