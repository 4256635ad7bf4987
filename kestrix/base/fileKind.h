#pragma once

// What a file is when it is not a regular file. Opening a FIFO without a writer blocks, and a
// device reads forever, so readers and writers ask before they open.

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace kestrix::base {

// "a folder", "a device", "a FIFO", "a socket" or "a loop of symbolic links" for a file
// type (st_mode) other than a regular file; null for a regular file.
const char* IrregularFileKind(mode_t mode);

// "it is a FIFO, not a regular file" for an existing path (links followed) that is not a
// regular file; empty for a regular file or a path that is not there.
std::string NotRegularReason(const std::filesystem::path& path);

} // namespace kestrix::base
