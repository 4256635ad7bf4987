// Writes a full instrument memory (65,535 records with 16 particle and 16 analog channels) as a
// record-set file, then reads it back; writer and reader each run in a process of their own, so
// the reader's peak resident memory is its own. Prints sizes, times and peak memory.

#include "kestrix/data/recordSetFile.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using kestrix::clsDataRecord;
using kestrix::clsDataRecordSet;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kRecords = 65535;
constexpr std::int16_t kParticleChannels = 16;
constexpr std::int16_t kAnalogChannels = 16;
constexpr const char* kReadOption = "--read";

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double PeakResidentMegabytes(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

clsDataRecord SampleRecord(std::int32_t row) {
    clsDataRecord record;
    record.SetTimeStamp(46000.0 + row / 1440.0);
    record.SetLocationID(row % 1000);
    record.SetSampleTimeData(60, row % 211 == 0 ? 2 : 0);
    record.SetPartChanCount(kParticleChannels);
    for (std::int16_t channel = 0; channel < kParticleChannels; ++channel) {
        record.SetPartChanData(channel, (kParticleChannels - channel) * 1000 + row % 997,
                               row % 97 == 0 ? 1 : 0, true);
    }
    record.SetAnalogChanCount(kAnalogChannels);
    for (std::int16_t channel = 0; channel < kAnalogChannels; ++channel) {
        record.SetAnalogChanData(channel, 20.0 + channel * 0.5 + (row % 600) * 0.013, 0, true);
    }
    return record;
}

clsDataRecordSet FullSet() {
    std::vector<std::string> particleTypes;
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    for (int channel = 0; channel < kParticleChannels; ++channel) {
        particleTypes.push_back(std::to_string(channel + 1) + ".0");
    }
    for (int channel = 0; channel < kAnalogChannels; ++channel) {
        analogTypes.push_back(channel % 2 == 0 ? "TEMP" : "RH");
        analogUnits.push_back(channel % 2 == 0 ? "C" : "%");
    }
    clsDataRecordSet set;
    std::string flowRateUnits = "CFM";
    set.Init("Bench IAQ", 1, 0.1F, flowRateUnits, 1.65F, kRecords, "s", particleTypes, analogTypes,
             analogUnits, std::vector<bool>(kParticleChannels, false),
             std::vector<std::int32_t>(kParticleChannels, 0));
    for (std::int32_t row = 0; row < kRecords; ++row) {
        const clsDataRecord record = SampleRecord(row);
        set.RecordCopy(row, &record);
    }
    return set;
}

int ReadAndReport(const std::string& path) {
    const double before = PeakResidentMegabytes(RUSAGE_SELF);
    const auto start = Clock::now();
    const kestrix::RecordSetReadResult read = kestrix::ReadRecordSetJson(path);
    const double seconds = SecondsSince(start);
    if (!read.recordSet) {
        std::fprintf(stderr, "read failed: %s\n", read.error.c_str());
        return 1;
    }
    std::printf("read %d records in %.2f s\n", read.recordSet->RecordCount(), seconds);
    std::printf("reader process peak resident memory: %.1f MB (%.1f MB before the read)\n",
                PeakResidentMegabytes(RUSAGE_SELF), before);
    return 0;
}

bool Succeeded(pid_t child) {
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

int WriteAndReport(const std::string& path) {
    clsDataRecordSet set = FullSet();
    std::string error;
    const auto start = Clock::now();
    if (!kestrix::WriteRecordSetJson(set, path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %d records (%.1f MB) in %.2f s\n", set.RecordCount(),
                static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0),
                SecondsSince(start));
    return 0;
}

bool WriteInChildProcess(const std::string& path) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const int status = WriteAndReport(path);
        std::fflush(stdout);
        _exit(status);
    }
    return Succeeded(child);
}

// A fresh program image, so no memory of this process counts towards the reader's peak.
bool ReadInFreshProcess(const std::string& path) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "record_set_file_bench", kReadOption, path.c_str(), nullptr);
        std::perror("exec");
        _exit(127);
    }
    return Succeeded(child);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kReadOption) == 0) {
        return ReadAndReport(argv[2]);
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("kestrix-record-set-bench-" + std::to_string(getpid()) + ".json");
    const bool done = WriteInChildProcess(path.string()) && ReadInFreshProcess(path.string());
    std::filesystem::remove(path);
    return done ? 0 : 1;
}
