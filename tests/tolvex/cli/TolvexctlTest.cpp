#include "PeerProcess.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tolvex {
namespace {

using test::PeerProcess;

using Outcome = test::ProgramOutcome;

Outcome RunCtl(std::vector<std::string> args) {
    return test::RunProgram(TOLVEXCTL_PATH, std::move(args));
}

// One pymodbus Modbus/TCP server for the whole suite.
class TolvexctlOverTcp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { peer = std::make_unique<PeerProcess>("tcp"); }
    static void TearDownTestSuite() { peer.reset(); }
    void SetUp() override { ASSERT_TRUE(peer->Ready()) << peer->Failure(); }

    static Outcome Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--tcp", "127.0.0.1:" + peer->Where()});
        return RunCtl(std::move(args));
    }

    static void ExpectPrints(std::vector<std::string> args, const std::string& expected) {
        const Outcome outcome = Ctl(std::move(args));
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.out, expected);
        EXPECT_EQ(outcome.err, "");
    }

    static void Write(std::vector<std::string> args) {
        const Outcome outcome = Ctl(std::move(args));
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }

    static inline std::unique_ptr<PeerProcess> peer;
};

TEST_F(TolvexctlOverTcp, ReadsPrintOneValuePerLine) {
    ExpectPrints({"read-holding", "0", "3"}, "4096\n4097\n4098\n");
    ExpectPrints({"read-input", "1", "2"}, "8193\n8194\n");
    ExpectPrints({"read-coils", "0", "4"}, "1\n0\n0\n1\n");
    ExpectPrints({"read-discrete", "0", "4"}, "0\n1\n0\n1\n");
    ExpectPrints({"--slave", "1", "read-holding", "0", "2", "--as", "hex"}, "0x1000\n0x1001\n");
}

TEST_F(TolvexctlOverTcp, IntegerFormats) {
    Write({"write-register", "50", "-1"});
    ExpectPrints({"read-holding", "50", "1"}, "-1\n");
    ExpectPrints({"read-holding", "50", "1", "--as", "uint"}, "65535\n");
    ExpectPrints({"read-holding", "50", "1", "--as", "hex"}, "0xFFFF\n");
    Write({"write-registers", "52", "1", "2"});
    ExpectPrints({"read-holding", "52", "2", "--as", "long"}, "131073\n");
    ExpectPrints({"read-holding", "52", "2", "--as", "longswap"}, "65538\n");
}

TEST_F(TolvexctlOverTcp, FloatingPointPrintsTheShortestExactText) {
    Write({"write-registers", "60", "16672", "0", "15820", "52429"});
    ExpectPrints({"read-holding", "60", "4", "--as", "floatswap"}, "10\n0.1\n");
    Write({"write-registers", "64", "0", "16672"});
    ExpectPrints({"read-holding", "64", "2", "--as", "float"}, "10\n");
    Write({"write-registers", "70", "16313", "39321", "39321", "39322"});
    ExpectPrints({"read-holding", "70", "4", "--as", "doubleswap"}, "0.1\n");
}

TEST_F(TolvexctlOverTcp, CoilWritesAndReadWrite) {
    Write({"write-coils", "100", "1", "0", "1", "1"});
    ExpectPrints({"read-coils", "100", "4"}, "1\n0\n1\n1\n");
    Write({"write-coil", "101", "1"});
    ExpectPrints({"read-coils", "101", "1"}, "1\n");
    ExpectPrints({"read-write", "110", "2", "110", "7", "8"}, "7\n8\n");
}

TEST_F(TolvexctlOverTcp, PollingPrintsEveryRead) {
    ExpectPrints({"--poll", "50", "--count", "3", "read-holding", "0", "1"}, "4096\n4096\n4096\n");
}

TEST_F(TolvexctlOverTcp, DeviceExceptionFails) {
    const Outcome outcome = Ctl({"read-holding", "400", "2"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "error 2: device exception: illegal data address\n");
}

TEST_F(TolvexctlOverTcp, RefusedPropertyOrRequestEndsTheRun) {
    Outcome outcome = Ctl({"--timeout", "100", "read-holding", "0", "1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "error 40: timeout outside 300..10000\n");
    outcome = Ctl({"read-holding", "0", "126"});
    EXPECT_EQ(outcome.exitCode, 2);
    outcome = Ctl({"--slave", "0", "read-holding", "0", "1"});
    EXPECT_EQ(outcome.exitCode, 2);
}

TEST(Tolvexctl, ConnectionsThatCannotBeOpened) {
    Outcome outcome = RunCtl({"--tcp", "255.255.255.255", "read-holding", "0", "1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "error 33: the address text does not convert\n");
    outcome = RunCtl({"--device", "/nonexistent/tty", "read-holding", "0", "1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "error 47: the serial port could not be opened or configured\n");
}

TEST(Tolvexctl, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"read-holding", "0"},
        {"read-holding", "x", "1"},
        {"read-holding", "70000", "1"},
        {"--mode", "binary", "read-holding", "0", "1"},
        {"--baud", "1234", "read-holding", "0", "1"},
        {"--parity", "mark", "read-holding", "0", "1"},
        {"--port", "33", "read-holding", "0", "1"},
        {"--port", "1", "--tcp", "127.0.0.1", "read-holding", "0", "1"},
        {"write-register", "0", "1", "--as", "float"},
        {"read-coils", "0", "4", "--as", "hex"},
        {"read-holding", "0", "3", "--as", "long"},
        {"read-holding", "0", "2", "--as", "double"},
        {"write-coil", "0", "2"},
        {"write-register", "0", "70000"},
        {"--poll", "100", "write-register", "0", "1"},
        {"--count", "2", "read-holding", "0", "1"},
        {"--tcp", "127.0.0.1:0", "read-holding", "0", "1"},
        {"frobnicate"},
    };
    for (const auto& args : cases) {
        const Outcome outcome = RunCtl(args);
        std::string line;
        for (const auto& arg : args) {
            line += arg + ' ';
        }
        EXPECT_EQ(outcome.exitCode, 2) << line;
        EXPECT_EQ(outcome.out, "") << line;
    }
}

TEST(Tolvexctl, HelpSetsEveryOptionApartFromItsText) {
    const Outcome outcome = RunCtl({"--help"});
    ASSERT_EQ(outcome.exitCode, 0);
    std::istringstream lines(outcome.out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.find_last_not_of(' ') + 1, line.size()) << "trailing blanks: " << line;
        const bool oneBlankBeforeTheText = line.rfind("  -", 0) == 0 && line.size() > 30 &&
                                           line[28] != ' ' && line[29] == ' ' && line[30] != ' ';
        EXPECT_FALSE(oneBlankBeforeTheText) << line;
    }
    EXPECT_NE(outcome.out.find("  --rts disable|enable|toggle\n"), std::string::npos)
        << outcome.out;
}

TEST(Tolvexctl, RangesAreGivenAsIntegers) {
    const Outcome outcome = RunCtl({"--poll", "100", "--count", "0", "read-holding", "0", "1"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("not in range 1 to 2147483647"), std::string::npos) << outcome.err;
}

class TolvexctlOverSerial : public ::testing::TestWithParam<const char*> {};

TEST_P(TolvexctlOverSerial, ReadsThroughTheBoundDevice) {
    PeerProcess peer(GetParam());
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    const Outcome outcome = RunCtl({"--device", peer.Where(), "--mode", GetParam(), "--baud",
                                    "19200", "read-holding", "2", "2", "--as", "hex"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "0x1002\n0x1003\n");
}

INSTANTIATE_TEST_SUITE_P(RtuAndAscii, TolvexctlOverSerial, ::testing::Values("rtu", "ascii"));

} // namespace
} // namespace tolvex
