#include "FastTransfer.h"
#include "Instrument.h"
#include "ModbusMaster.h"
#include "Presets.h"
#include "ScenarioJson.h"
#include "SimProcess.h"
#include "tolvex/PortTable.h"
#include "tolvex/ResultCode.h"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace kestrix::sim {
namespace {

using test::SimProcess;
using ::testing::HasSubstr;
using tolvex::Code;
using tolvex::ResultCode;

constexpr int kPort = 17;
constexpr uint8_t kSlave = 1;
constexpr uint8_t kHolding = 3;
constexpr uint8_t kInput = 4;

// The bytes of a fast chunk, read from the link opened at 115200 bit/s.
class FastLine {
public:
    explicit FastLine(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        ::tcgetattr(fd_, &settings);
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B115200);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    ~FastLine() { ::close(fd_); }
    bool IsOpen() const { return fd_ >= 0; }

    std::vector<uint8_t> Request(const std::string& command, size_t expected) {
        EXPECT_EQ(::write(fd_, command.data(), command.size()),
                  static_cast<ssize_t>(command.size()));
        std::vector<uint8_t> bytes;
        uint8_t chunk[4096];
        pollfd entry{fd_, POLLIN, 0};
        while (bytes.size() < expected && ::poll(&entry, 1, 3000) > 0) {
            const ssize_t got = ::read(fd_, chunk, sizeof chunk);
            if (got <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
        return bytes;
    }

private:
    int fd_;
};

// A scenario in a temporary file for --scenario.
class ScenarioFile {
public:
    explicit ScenarioFile(const std::string& json) {
        char pattern[] = "/tmp/kestrix_scenario_XXXXXX";
        const int fd = ::mkstemp(pattern);
        path_ = pattern;
        ::close(fd);
        std::ofstream(path_) << json;
    }
    ~ScenarioFile() { ::unlink(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

class SimLine : public ::testing::Test {
protected:
    void TearDown() override {
        master.Close();
        tolvex::SetPortDevice(kPort, "");
    }

    void Start(const std::vector<std::string>& arguments) {
        sim = std::make_unique<SimProcess>(arguments);
        ASSERT_TRUE(sim->WaitReady()) << sim->ErrorText();
        ASSERT_TRUE(tolvex::SetPortDevice(kPort, sim->Link()));
        OpenMaster();
    }

    void OpenMaster() {
        ASSERT_TRUE(master.Open(kPort, tolvex::LineSettings{19200}));
        ASSERT_TRUE(master.SetTimeouts(tolvex::SerialTimeouts{100, 1, 1000, 1, 1000}));
        master.SetTransportMode(tolvex::TransportMode::Ascii);
    }

    uint16_t TryRead(uint8_t function, uint16_t address, uint16_t quantity,
                     std::vector<uint16_t>& values) {
        std::vector<uint8_t> buffer(2 * quantity);
        const uint16_t result = master.ReadRegisters(kSlave, function, address, quantity, buffer);
        values.resize(quantity);
        std::memcpy(values.data(), buffer.data(), buffer.size());
        return result;
    }

    std::vector<uint16_t> Read(uint8_t function, uint16_t address, uint16_t quantity) {
        std::vector<uint16_t> values;
        EXPECT_EQ(TryRead(function, address, quantity, values), 0)
            << "function " << int{function} << " address " << address;
        return values;
    }

    void Write(uint16_t address, uint16_t value) {
        EXPECT_EQ(master.WriteSingleRegister(kSlave, address, value), 0) << "address " << address;
    }

    // Reads a block from the simulator and from the same instrument in this process.
    void ExpectSameBlock(Instrument& expected, RegisterArea area, uint16_t address,
                         uint16_t quantity) {
        std::vector<uint16_t> values;
        ASSERT_EQ(expected.Read(area, address, quantity, values), ModbusException::None);
        EXPECT_EQ(Read(area == RegisterArea::Holding ? kHolding : kInput, address, quantity),
                  values)
            << "block " << address;
    }

    // Everything a download reads, in its order.
    void ExpectSameDownload(Instrument& expected) {
        ExpectSameBlock(expected, RegisterArea::Holding, 0, 50);
        const bool modern = expected.MapVersion() >= 138;
        const auto blocks = modern ? RegisterArea::Holding : RegisterArea::Input;
        for (uint16_t block : {1000, 2000, 3000}) {
            ExpectSameBlock(expected, blocks, block, 72);
        }
        if (modern) {
            ExpectSameBlock(expected, RegisterArea::Holding, 5000, 72);
            ExpectSameBlock(expected, RegisterArea::Holding, 8040, 32);
            ExpectSameBlock(expected, RegisterArea::Holding, 7040, 32);
            ExpectSameBlock(expected, RegisterArea::Holding, 9040, 8);
            const uint16_t names = Read(kHolding, 198, 1)[0];
            for (uint16_t done = 0; done < names; done += 25) {
                const auto inBlock = static_cast<uint16_t>(std::min(25, names - done));
                ExpectSameBlock(expected, RegisterArea::Holding, 199 + 4 * done, 4 * inBlock);
            }
        }
        const uint16_t recordLength = modern ? 74 : 72;
        for (uint16_t i = 0; i < expected.Records().size(); ++i) {
            Write(Instrument::kRecordPointer, i);
            ASSERT_EQ(expected.Write(Instrument::kRecordPointer, i), ModbusException::None);
            ExpectSameBlock(expected, RegisterArea::Input, 0, recordLength);
        }
    }

    void ExpectFastTransfer(const std::vector<std::string>& arguments);

    tolvex::ModbusMaster master;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(SimLine, Identity) {
    Start({"--preset", "standard"});
    const Scenario scenario = *FindPreset("standard");
    const auto identity = Read(kHolding, 0, 50);
    EXPECT_EQ(identity[0], 145);
    EXPECT_EQ(RegistersToText(std::span(identity).subspan(14, 8)), scenario.identity.modelName);
    EXPECT_EQ(int32_t{identity[4]} << 16 | identity[5], scenario.identity.serial);
    EXPECT_EQ(identity[23], scenario.records.size());
}

TEST_F(SimLine, RecordReadOnMap145) {
    Start({"--preset", "standard"});
    Instrument expected(*FindPreset("standard"));
    for (uint16_t i : {0, 1, 499}) {
        Write(Instrument::kRecordPointer, i);
        ASSERT_EQ(expected.Write(Instrument::kRecordPointer, i), ModbusException::None);
        ExpectSameBlock(expected, RegisterArea::Input, 0, 74);
    }
}

TEST_F(SimLine, RecordReadOnMap137) {
    Start({"--preset", "legacy-137"});
    Instrument expected(*FindPreset("legacy-137"));
    Write(Instrument::kRecordPointer, 7);
    ASSERT_EQ(expected.Write(Instrument::kRecordPointer, 7), ModbusException::None);
    ExpectSameBlock(expected, RegisterArea::Input, 0, 72);
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kInput, 0, 74, values), 2);
}

TEST_F(SimLine, CompleteDownloadOfEachMapVersion) {
    for (const char* preset : {"standard", "legacy-137", "swapped-names"}) {
        SCOPED_TRACE(preset);
        master.Close();
        Start({"--preset", preset});
        Instrument expected(*FindPreset(preset));
        ExpectSameDownload(expected);
        EXPECT_EQ(sim->Stop(), 0);
    }
}

TEST_F(SimLine, CompleteDownloadAtTheLineRate) {
    const std::string json = R"({"preset": "names-200", "generate": {"seed": 4, "count": 12}})";
    const ScenarioFile file(json);
    Start({"--scenario", file.Path(), "--pace", "--turnaround", "3"});
    Instrument expected(ParseScenario(json));
    ExpectSameDownload(expected);
}

TEST_F(SimLine, ExceptionsOverTheLine) {
    Start({"--preset", "standard"});
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kHolding, 100, 1, values), 2);
    EXPECT_EQ(TryRead(kInput, 5000, 1, values), 2);
    std::vector<uint8_t> bits(8);
    EXPECT_EQ(master.ReadBits(kSlave, 1, 0, 8, bits), 1);
    EXPECT_EQ(master.WriteSingleRegister(kSlave, Instrument::kRecordPointer, 9999), 3);
    EXPECT_EQ(master.WriteSingleRegister(kSlave, 0, 1), 2);
    EXPECT_EQ(Read(kHolding, 0, 1)[0], 145) << "still serving";
}

TEST_F(SimLine, NameWrittenHighByteFirstReadsBack) {
    Start({"--preset", "standard"});
    uint16_t registers[4];
    TextToRegisters("LOBBY   ", registers);
    for (uint16_t k = 0; k < 4; ++k) {
        Write(Instrument::kFirstName + k, registers[k]);
    }
    EXPECT_EQ(Read(kHolding, 199, 4), std::vector<uint16_t>(registers, registers + 4));
    EXPECT_EQ(Read(kHolding, 199, 1)[0], 'L' << 8 | 'O');
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_THAT(sim->StateText(), HasSubstr("\"LOBBY   \""));
    EXPECT_THAT(sim->StateText(), HasSubstr("\"CLEAN_1\""));
}

TEST_F(SimLine, NameWrittenLowByteFirstReadsBack) {
    Start({"--preset", "swapped-names"});
    uint16_t registers[4];
    TextToRegisters("LOBBY   ", registers, ByteOrder::LowFirst);
    for (uint16_t k = 0; k < 4; ++k) {
        Write(Instrument::kFirstName + 4 + k, registers[k]);
    }
    EXPECT_EQ(Read(kHolding, 203, 1)[0], 'O' << 8 | 'L');
    EXPECT_EQ(Read(kHolding, 203, 4), std::vector<uint16_t>(registers, registers + 4));
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_THAT(sim->StateText(), HasSubstr("\"LOBBY   \""));
    EXPECT_THAT(sim->StateText(), HasSubstr("\"LOBBY\"")) << "the first name as the preset has it";
}

TEST_F(SimLine, DensityWrite) {
    Start({"--preset", "iaq-fast"});
    EXPECT_EQ(Read(kHolding, 43, 1)[0], 1650);
    Write(Instrument::kDensity, 1200);
    EXPECT_EQ(Read(kHolding, 0, 44)[43], 1200);
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_THAT(sim->StateText(), HasSubstr("\"density_x1000\": 1200"));
}

TEST_F(SimLine, IdleCommandClearsTheBusyBits) {
    Start({"--preset", "busy"});
    EXPECT_NE(Read(kHolding, 2, 1)[0] & 3, 0);
    Write(Instrument::kCommand, Instrument::kIdleCommand);
    EXPECT_EQ(Read(kHolding, 2, 1)[0] & 3, 0);
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_THAT(sim->StateText(), HasSubstr("\"busy\": false"));
}

// Two chunks over the fast transfer, the port closed and reopened around it as the download
// does, then Modbus again.
void SimLine::ExpectFastTransfer(const std::vector<std::string>& arguments) {
    Start(arguments);
    const Scenario scenario = *FindPreset("iaq-fast");
    Write(Instrument::kCommand, Instrument::kFastTransferCommand);
    master.Close();
    {
        FastLine line(sim->Link());
        ASSERT_TRUE(line.IsOpen());
        for (const FastCommand command : {FastCommand{0, 200}, FastCommand{400, 50}}) {
            char text[16];
            std::snprintf(text, sizeof text, "<gr%04u,%04u>", command.first, command.count);
            const auto chunk = line.Request(text, 48U * command.count + 1);
            ASSERT_EQ(chunk.size(), 48U * command.count + 1) << text;
            EXPECT_EQ(chunk.back(), std::accumulate(chunk.begin(), chunk.end() - 1, 0U) % 256);
            EXPECT_EQ(chunk, BuildFastChunk(scenario.records, command, scenario.calibration));
        }
    }
    OpenMaster();
    EXPECT_EQ(Read(kHolding, 0, 1)[0], 145) << "a Modbus frame ends the fast transfer";
}

TEST_F(SimLine, FastTransferChunksThenModbusAgain) {
    ExpectFastTransfer({"--preset", "iaq-fast"});
}

TEST_F(SimLine, FastTransferAtTheLineRate) {
    ExpectFastTransfer({"--preset", "iaq-fast", "--pace"});
}

TEST_F(SimLine, DropFirst) {
    Start({"--preset", "standard", "--drop-first", "1"});
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), Code(ResultCode::NoReply));
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), 0);
}

TEST_F(SimLine, DropEvery) {
    Start({"--preset", "standard", "--drop-every", "2"});
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), 0);
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), Code(ResultCode::NoReply));
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), 0);
}

TEST_F(SimLine, CorruptEvery) {
    Start({"--preset", "standard", "--corrupt-every", "2"});
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), 0);
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), Code(ResultCode::ChecksumError));
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), 0);
}

TEST_F(SimLine, Silent) {
    Start({"--preset", "standard", "--silent"});
    std::vector<uint16_t> values;
    EXPECT_EQ(TryRead(kHolding, 0, 1, values), Code(ResultCode::NoReply));
}

TEST_F(SimLine, HangUpInMidDownload) {
    Start({"--preset", "standard", "--hang-up-after", "2"});
    Write(Instrument::kRecordPointer, 0);
    Read(kInput, 0, 74);
    std::vector<uint16_t> values;
    EXPECT_NE(TryRead(kInput, 0, 74, values), 0);
    EXPECT_EQ(sim->WaitExit(std::chrono::seconds(20)), 0);
    EXPECT_THAT(sim->ErrorText(), HasSubstr("hung up after 2"));
}

TEST_F(SimLine, StopRemovesTheLinkAndWritesTheState) {
    Start({"--preset", "names-200"});
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_NE(::access(sim->Link().c_str(), F_OK), 0);
    EXPECT_THAT(sim->StateText(), HasSubstr("\"ROOM_200\""));
    EXPECT_THAT(sim->StateText(), HasSubstr("\"busy\": false"));
}

TEST(SimCommandLine, ListsThePresets) {
    const auto finished = test::RunToEnd({"--list-presets"});
    EXPECT_EQ(finished.status, 0);
    std::string expected;
    for (const auto& name : PresetNames()) {
        expected += name + "\n";
    }
    EXPECT_EQ(finished.output, expected);
}

TEST(SimCommandLine, RefusesAnUnknownPreset) {
    const auto finished = test::RunToEnd({"--preset", "nothing"});
    EXPECT_EQ(finished.status, 1);
    EXPECT_THAT(finished.error, HasSubstr("--preset: no preset is called \"nothing\""));
    EXPECT_EQ(finished.output, "");
}

TEST(SimCommandLine, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"--turnaround", "-5"}, {"--frobnicate"}, {"--scenario", "/nonexistent/scenario.json"}};
    for (const auto& arguments : cases) {
        EXPECT_EQ(test::RunToEnd(arguments).status, 2) << arguments.front();
    }
}

TEST(SimCommandLine, RefusesABadScenarioNamingTheField) {
    const ScenarioFile broken(R"({"identity": {"map_version": 145,)");
    const auto syntax = test::RunToEnd({"--scenario", broken.Path()});
    EXPECT_EQ(syntax.status, 1);
    EXPECT_THAT(syntax.error, HasSubstr("not valid JSON"));

    const ScenarioFile outOfRange(R"({"identity": {"flow_rate_x100": -1}})");
    const auto range = test::RunToEnd({"--scenario", outOfRange.Path()});
    EXPECT_EQ(range.status, 1);
    EXPECT_THAT(range.error, HasSubstr("identity.flow_rate_x100: must be between 0 and 65535"));
    EXPECT_EQ(range.output, "") << "no READY line";
}

} // namespace
} // namespace kestrix::sim
