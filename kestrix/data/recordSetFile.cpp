#include "kestrix/data/recordSetFile.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/base/fileKind.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

namespace kestrix::data {

namespace {

// An output buffer that hands its bytes to a file pending replacement.
class PendingFileBuffer : public std::streambuf {
public:
    explicit PendingFileBuffer(base::PendingFile& file) : file_(file) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type ch) override {
        if (!Drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const std::string_view bytes(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return bytes.empty() || file_.Write(bytes);
    }

    base::PendingFile& file_;
    std::array<char, 1 << 16> buffer_{};
};

} // namespace

bool WriteRecordSetJson(clsDataRecordSet& recordSet, const std::string& path, std::string& error) {
    base::PendingFile file(path);
    bool written = file.IsOpen();
    if (written) {
        PendingFileBuffer buffer(file);
        std::ostream out(&buffer);
        WriteRecordSetJson(recordSet, out);
        written = static_cast<bool>(out.flush()) && file.Commit();
    }
    if (!written) {
        error = file.Error();
    }
    return written;
}

namespace {

// Why the file cannot be opened for reading; empty when it is open.
std::string OpenForReading(const std::string& path, std::ifstream& in) {
    // A folder opens as a stream here and reads as nothing at all.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return std::strerror(EISDIR);
    }
    if (std::string refusal = base::NotRegularReason(path); !refusal.empty()) {
        return refusal;
    }
    in.open(path, std::ios::binary);
    return in ? std::string() : std::strerror(errno);
}

} // namespace

RecordSetReadResult ReadRecordSetJson(const std::string& path) {
    std::ifstream in;
    const std::string problem = OpenForReading(path, in);
    RecordSetReadResult result =
        problem.empty() ? ReadRecordSetJson(in) : RecordSetReadResult{nullptr, problem};
    if (!result.recordSet) {
        result.error = "cannot read \"" + path + "\": " + result.error;
    }
    return result;
}

} // namespace kestrix::data
