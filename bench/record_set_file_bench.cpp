// Writes a full instrument memory (65,535 records with 16 particle and 16 analog channels) as a
// record-set file, then reads it back; writer and reader each run in a process of their own, so
// the reader's peak resident memory is its own. Prints sizes, times and peak memory. A third
// process reads an endless stream that cannot be wound back, as from a pipe, until it is refused.

#include "kestrix/data/recordSetFile.h"
#include "support/PeakMemory.h"
#include "support/SampleRecordSet.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <streambuf>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kReadOption = "--read";
constexpr const char* kEndlessOption = "--endless";

// Blanks without end, and no way back: a pipe fed more than any record set takes.
class EndlessBuffer : public std::streambuf {
public:
    EndlessBuffer() { Refill(); }

protected:
    int_type underflow() override {
        Refill();
        return traits_type::to_int_type(blanks_.front());
    }

private:
    void Refill() { setg(blanks_.data(), blanks_.data(), blanks_.data() + blanks_.size()); }

    std::string blanks_ = std::string(1 << 16, ' ');
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int ReadAndReport(const std::string& path) {
    const double before = PeakResidentMegabytes(RUSAGE_SELF);
    const auto start = Clock::now();
    const kestrix::data::RecordSetReadResult read = kestrix::data::ReadRecordSetJson(path);
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

int ReadEndlessAndReport() {
    EndlessBuffer endless;
    std::istream pipe(&endless);
    const auto start = Clock::now();
    const kestrix::data::RecordSetReadResult read = kestrix::data::ReadRecordSetJson(pipe);
    std::printf("endless stream refused in %.2f s (\"%s\"), peak resident memory: %.1f MB\n",
                SecondsSince(start), read.error.c_str(), PeakResidentMegabytes(RUSAGE_SELF));
    return read.recordSet ? 1 : 0;
}

bool Succeeded(pid_t child) {
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

int WriteAndReport(const std::string& path) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    std::string error;
    const auto start = Clock::now();
    if (!kestrix::data::WriteRecordSetJson(*set, path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %d records (%.1f MB) in %.2f s\n", set->RecordCount(),
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
bool RunInFreshProcess(const char* option, const char* path) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "record_set_file_bench", option, path, nullptr);
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
    if (argc == 2 && std::strcmp(argv[1], kEndlessOption) == 0) {
        return ReadEndlessAndReport();
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("kestrix-record-set-bench-" + std::to_string(getpid()) + ".json");
    const bool done = WriteInChildProcess(path.string()) &&
                      RunInFreshProcess(kReadOption, path.c_str()) &&
                      RunInFreshProcess(kEndlessOption, nullptr);
    std::filesystem::remove(path);
    return done ? 0 : 1;
}
