#include "kestrix/table/writers/ReplacementFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kestrix::table {

namespace {

constexpr int kNameAttempts = 100;

std::string TemporaryName(const std::string& destination) {
    static std::atomic<unsigned> counter{0};
    return destination + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool SyncToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

ReplacementFile::ReplacementFile(std::string destination) : destination_(std::move(destination)) {}

ReplacementFile::~ReplacementFile() {
    if (!committed_ && !temporary_.empty()) {
        std::remove(temporary_.c_str());
    }
}

bool ReplacementFile::Create() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = TemporaryName(destination_);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            temporary_ = candidate;
            return true;
        }
        if (errno != EEXIST) {
            return Fail("Cannot create a file beside \"" + destination_ + "\"", errno);
        }
    }
    return Fail("Cannot create a file beside \"" + destination_ + "\"", EEXIST);
}

bool ReplacementFile::Commit() {
    if (temporary_.empty()) {
        return Fail("Nothing was written for \"" + destination_ + "\"", ENOENT);
    }
    if (!SyncToDisk(temporary_)) {
        return Fail("Cannot write \"" + destination_ + "\"", errno);
    }
    if (std::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        return Fail("Cannot replace \"" + destination_ + "\"", errno);
    }
    committed_ = true;
    return true;
}

bool ReplacementFile::Fail(const std::string& what, int error) {
    error_ = what + ": " + std::strerror(error);
    return false;
}

} // namespace kestrix::table
