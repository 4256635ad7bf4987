#pragma once

// A file written beside its destination under a temporary name and renamed over the
// destination only once it is complete, so a failed save leaves an existing file as it was
// and never a half-written one in its place.

#include <string>

namespace kestrix::table {

class ReplacementFile {
public:
    explicit ReplacementFile(std::string destination);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the empty temporary file; false, with Error() telling why, when the
    // destination's folder cannot take it.
    bool Create();
    const std::string& TemporaryPath() const { return temporary_; }

    // Flushes the temporary file to disk and renames it to the destination.
    bool Commit();

    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& what, int error);

    std::string destination_;
    std::string temporary_;
    std::string error_;
    bool committed_ = false;
};

} // namespace kestrix::table
