#pragma once

// A reader of an SQLite archive of an older schema reads a private copy brought forward in a
// temporary folder: an auditor's copy on read-only media cannot be upgraded where it is, and a
// reader never writes the original.

#include <QTemporaryDir>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

class PrivateCopy {
public:
    // One consistent snapshot of the open archive, outside any transaction; throws ArchiveError
    // saying what to do when it cannot be made.
    explicit PrivateCopy(ArchiveDatabase& original);

    const std::string& Path() const { return path_; }

private:
    QTemporaryDir folder_;
    std::string path_;
};

} // namespace kestrix::archive
