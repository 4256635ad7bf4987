// The sessions' decoders without a line: register encodings, identity rules, picture keys,
// location blocks, the fast chunk and record, and the progress text.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/DownloadProgress.h"
#include "kestrix/instrument/FastChunk.h"
#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/PictureKey.h"
#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/RegisterReply.h"
#include "tolvex/PortTable.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace kestrix {
namespace {

std::uint16_t Pair(char high, char low) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(high) << 8) |
                                      static_cast<unsigned char>(low));
}

// An identity block with the given map version, model name and type.
std::vector<std::uint16_t> IdentityBlock(int mapVersion, const std::string& name,
                                         const std::string& type) {
    std::vector<std::uint16_t> r(instrument::kIdentityRegisters, 0);
    r[0] = static_cast<std::uint16_t>(mapVersion);
    auto put = [&](int first, const std::string& text) {
        for (size_t i = 0; i < text.size(); i += 2) {
            r[first + i / 2] = Pair(text[i], i + 1 < text.size() ? text[i + 1] : '\0');
        }
    };
    put(14, name);
    put(6, type);
    r[22] = 283;
    put(40, "LPM");
    r[43] = 1650;
    r[49] = 1;
    return r;
}

TEST(RegisterEncodings, TextsStopAtTheFirstZeroByte) {
    const instrument::RegisterReply reply(
        {Pair('A', 'B'), Pair('C', '\0'), Pair('D', 'E'), Pair('\0', 'F')});
    EXPECT_EQ(reply.Text(0, 3), "ABC");
    EXPECT_EQ(reply.Text(2, 2), "DE");
    EXPECT_EQ(reply.Text(3, 1), "");
}

TEST(RegisterEncodings, LongsComeHighWordFirstAndFloatsLowWordFirst) {
    const instrument::RegisterReply reply({0x0001, 0xE240, 0x0000, 0x3FC0, 0xFFFF, 0xFFFE});
    EXPECT_EQ(reply.Long(0), 123456);
    EXPECT_FLOAT_EQ(reply.Float(1), 1.5F);
    EXPECT_EQ(reply.Long(4), -2);
    EXPECT_EQ(reply.Unsigned(99), 0);
}

TEST(IdentityDecoding, FlowUnitsFromMapVersion141) {
    EXPECT_EQ(instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(140, "X", "APC")))
                  .flowRateUnits,
              "CFM");
    EXPECT_EQ(instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(141, "X", "APC")))
                  .flowRateUnits,
              "LPM");
}

TEST(IdentityDecoding, DensityOnlyForIaqModelsFromMapVersion143) {
    EXPECT_FLOAT_EQ(
        instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(142, "Kx iaq", "APC")))
            .particleDensity,
        2.5F);
    EXPECT_FLOAT_EQ(
        instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(143, "Kx iaq", "APC")))
            .particleDensity,
        1.65F);
    EXPECT_FLOAT_EQ(
        instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(145, "Kx 100", "APC")))
            .particleDensity,
        2.5F);
}

TEST(IdentityDecoding, LiquidCounterTakesTheRegisterValueAsFlowRate) {
    EXPECT_FLOAT_EQ(
        instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(145, "X", "lpc  ")))
            .flowRate,
        283.0F);
    EXPECT_FLOAT_EQ(
        instrument::DecodeIdentity(instrument::RegisterReply(IdentityBlock(145, "X", "APC")))
            .flowRate,
        2.83F);
}

TEST(IdentityDecoding, FastTransferFromMapVersion145AndCountsAreUnsigned) {
    auto block = IdentityBlock(144, "X", "APC");
    EXPECT_FALSE(instrument::DecodeIdentity(instrument::RegisterReply(block)).fastTransfer);
    block[0] = 145;
    block[23] = 40000;
    const instrument::InstrumentIdentity id =
        instrument::DecodeIdentity(instrument::RegisterReply(block));
    EXPECT_TRUE(id.fastTransfer);
    EXPECT_EQ(id.recordCount, 40000);
    EXPECT_EQ(instrument::FormatSerialNumber(12345), "000012345");
}

TEST(PictureKeys, FamilyWordsAndNumbersChooseThePicture) {
    EXPECT_EQ(instrument::PictureKey("VELORA 1100"), "velora_long");
    EXPECT_EQ(instrument::PictureKey("Velora 3200"), "velora_medium");
    EXPECT_EQ(instrument::PictureKey("velora 5000"), "velora_short");
    EXPECT_EQ(instrument::PictureKey("Dastel 9304p"), "dastel_xxx4p");
    EXPECT_EQ(instrument::PictureKey("Dastel 9304i"), "dastel_xxx4i");
    EXPECT_EQ(instrument::PictureKey("Dastel 1104p"), "dastel_7304");
    EXPECT_EQ(instrument::PictureKey("Other 9304p"), "unknown");
    EXPECT_EQ(instrument::PictureKey("Pirrow mini"), "pirrow_6");
    EXPECT_EQ(instrument::PictureKey("Quennar 2"), "velora_short");
    EXPECT_EQ(instrument::PictureKey("Atk 3"), "trovik");
}

TEST(LocationBlocks, ThirtyNamesTakeTwoBlocks) {
    EXPECT_EQ(instrument::NamesInBlock(30, 0), 25);
    EXPECT_EQ(instrument::NamesInBlock(30, 1), 5);
    EXPECT_EQ(instrument::BlockFirstRegister(1), 299);
    EXPECT_EQ(instrument::NamesInBlock(50, 1), 25);
    EXPECT_EQ(instrument::NamesInBlock(50, 2), 0);
}

TEST(LocationBlocks, NamesPastTwoHundredAreNotRead) {
    EXPECT_EQ(instrument::NamesToRead(65535), 200);
    EXPECT_EQ(instrument::NamesInBlock(instrument::NamesToRead(230), 7), 25);
    EXPECT_EQ(instrument::NamesInBlock(instrument::NamesToRead(230), 8), 0);
    EXPECT_EQ(instrument::NamesToRead(-3), 0);
}

TEST(FastChunks, CommandsAndExpectedSizes) {
    EXPECT_EQ(instrument::FastChunk::Command(200, 45), "<gr0200,0045>");
    instrument::FastChunk chunk;
    chunk.Start(400, 50);
    EXPECT_EQ(chunk.Expected(), 2401);
    chunk.Start(0, 200);
    EXPECT_EQ(chunk.Expected(), 9601);
}

TEST(FastChunks, SurplusBytesAreIgnoredAndTheChecksumJudgesTheChunk) {
    instrument::FastChunk chunk;
    chunk.Start(0, 1);
    std::vector<std::uint8_t> bytes(48);
    std::uint8_t sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    bytes.push_back(sum);
    bytes.insert(bytes.end(), 20000, 0xAA);
    chunk.Append(bytes);
    EXPECT_EQ(chunk.Received(), 49);
    EXPECT_TRUE(chunk.ChecksumMatches());
    chunk.Start(0, 1);
    bytes[48] = static_cast<std::uint8_t>(sum + 1);
    chunk.Append(bytes);
    EXPECT_TRUE(chunk.IsComplete());
    EXPECT_FALSE(chunk.ChecksumMatches());
}

TEST(FastRecords, LocationStatusAndCountsAreDecoded) {
    instrument::ChannelDescription channels;
    channels.tag[4] = "0.3";
    channels.enabled[4] = true;
    channels.tag[20] = "TEMP";
    channels.enabled[20] = true;
    channels.engineeringLow[0] = 0;
    channels.engineeringHigh[0] = 50;
    channels.rawLow[0] = 0;
    channels.rawHigh[0] = 5000;
    std::vector<std::uint8_t> bytes(48, 0);
    bytes[0] = 0xFF; // location field -1: location 0
    bytes[1] = 0xFF;
    bytes[2] = 0x80; // a negative time stamp
    bytes[8] = 60;
    bytes[9] = 0x5F;
    bytes[10] = 0x01;
    bytes[11] = 0x01;
    bytes[12] = 0x01; // 65536 + 2
    bytes[14] = 0x02;
    bytes[40] = 0x09; // raw 2500
    bytes[41] = 0xC4;
    data::clsDataRecord record;
    record.SetPartChanCount(1);
    record.SetAnalogChanCount(1);
    instrument::DecodeFastRecord(bytes, channels, 145, record);
    EXPECT_EQ(record.GetLocationID(), 0);
    EXPECT_DOUBLE_EQ(record.GetTimeStamp(), base::MakeDateTime(1970, 1, 1));
    EXPECT_EQ(record.GetSampleTimeValue(), 60);
    EXPECT_EQ(record.GetPartChanStatus(0), 0x4F);
    EXPECT_EQ(record.GetPartChanValue(0, true), 65538);
    EXPECT_TRUE(record.GetPartChanEnable(0));
    EXPECT_DOUBLE_EQ(record.GetAnalogChanValue(0), 25.0);
}

TEST(ChannelTags, ParticleSizesAreRewritten) {
    instrument::ChannelDescription channels;
    std::vector<std::uint16_t> block(instrument::kChannelBlockRegisters, 0);
    block[8] = Pair('0', '.');
    block[9] = Pair('3', '0');
    block[10] = Pair('5', ' ');
    block[40] = Pair('T', 'E');
    block[41] = Pair('M', 'P');
    channels.TakeTags(instrument::RegisterReply(block));
    EXPECT_EQ(channels.tag[4], "0.3");
    EXPECT_EQ(channels.tag[5], "5.0");
    EXPECT_EQ(channels.tag[20], "TEMP");
}

TEST(Progress, PercentRoundsHalvesToEven) {
    EXPECT_EQ(instrument::PercentText(1, 8), "12%");
    EXPECT_EQ(instrument::PercentText(3, 8), "38%");
    EXPECT_EQ(instrument::PercentText(0, 1), "0%");
    instrument::DownloadProgress progress;
    EXPECT_TRUE(progress.Update(0, 0, 0));
    EXPECT_EQ(progress.maximum, 1);
    EXPECT_FALSE(progress.Update(0, 0, 0));
}

TEST(AddressList, AutoDetectAndNinetyNineAddresses) {
    const instrument::ListChoice list = instrument::BuildAddressList(0);
    ASSERT_EQ(list.entries.size(), 100U);
    EXPECT_EQ(list.entries[0].text, "<Auto-Detect>");
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(instrument::BuildAddressList(100).selected, -1);
}

TEST(PortList, ListsThePortsThatOpenWithTheirDevices) {
    const int controller = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(controller >= 0 && ::grantpt(controller) == 0 && ::unlockpt(controller) == 0);
    const std::string line = ::ptsname(controller);
    tolvex::SetPortDevice(5, line);
    tolvex::SetPortDevice(6, "/nonexistent/ttyX");
    tolvex::SetPortDevice(7, "/dev/null"); // opens, but is no serial line
    const instrument::ListChoice list = instrument::BuildPortList(5);
    ::close(controller);
    ASSERT_GE(list.selected, 0);
    EXPECT_EQ(list.entries[static_cast<size_t>(list.selected)].text, "COM 5 (" + line + ")");
    EXPECT_EQ(list.entries[static_cast<size_t>(list.selected)].data, 5);
    for (const instrument::ListEntry& entry : list.entries) {
        EXPECT_NE(entry.data, 6);
        EXPECT_NE(entry.data, 7);
    }
}

} // namespace
} // namespace kestrix
