#include "kestrix/base/fileKind.h"

#include <sys/stat.h>

namespace kestrix::base {

const char* IrregularFileKind(mode_t mode) {
    switch (mode & S_IFMT) {
    case S_IFREG:
        return nullptr;
    case S_IFDIR:
        return "a folder";
    case S_IFCHR:
    case S_IFBLK:
        return "a device";
    case S_IFIFO:
        return "a FIFO";
    case S_IFSOCK:
        return "a socket";
    case S_IFLNK:
        return "a loop of symbolic links";
    default:
        return "not a regular file";
    }
}

std::string NotRegularReason(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    const char* kind = IrregularFileKind(info.st_mode);
    return kind == nullptr ? std::string() : std::string("it is ") + kind + ", not a regular file";
}

} // namespace kestrix::base
