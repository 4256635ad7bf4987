#include "kestrix/table/writers/XlsxPackageCheck.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>
#include <zlib.h>

namespace kestrix::table {

namespace {

constexpr std::uint32_t kEndOfDirectorySignature = 0x06054b50;
constexpr std::uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kLongestPackageComment = 0xFFFF;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint32_t kDeflated = 8;
constexpr std::size_t kChunk = 1 << 16;

using Bytes = std::vector<unsigned char>;

// Little-endian field of `width` bytes at `at`; the caller keeps it inside the bytes.
std::uint32_t Field(const Bytes& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

class Package {
public:
    explicit Package(const std::string& path) : file_(path, std::ios::binary) {
        file_.seekg(0, std::ios::end);
        const std::streamoff end = file_.tellg();
        size_ = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }

    std::optional<Bytes> ReadAt(std::uint64_t offset, std::uint64_t count) {
        if (offset > size_ || count > size_ - offset) {
            return std::nullopt;
        }
        Bytes bytes(static_cast<std::size_t>(count));
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        if (!file_.read(reinterpret_cast<char*>(bytes.data()),
                        static_cast<std::streamsize>(count))) {
            return std::nullopt;
        }
        return bytes;
    }

    // The central directory, found through its end record near the end of the file.
    std::optional<Bytes> CentralDirectory() {
        const std::uint64_t tailSize =
            std::min<std::uint64_t>(size_, kEndOfDirectorySize + kLongestPackageComment);
        const std::optional<Bytes> tail = ReadAt(size_ - tailSize, tailSize);
        if (!tail || tail->size() < kEndOfDirectorySize) {
            return std::nullopt;
        }
        for (std::size_t at = tail->size() - kEndOfDirectorySize + 1; at-- > 0;) {
            if (Field(*tail, at, 4) == kEndOfDirectorySignature) {
                return ReadAt(Field(*tail, at + 16, 4), Field(*tail, at + 12, 4));
            }
        }
        return std::nullopt;
    }

    // The part's directory entry: its method, compressed size and local header offset.
    struct Entry {
        std::uint32_t method = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t headerOffset = 0;
    };

    std::optional<Entry> Find(std::string_view partName) {
        const std::optional<Bytes> directory = CentralDirectory();
        if (!directory) {
            return std::nullopt;
        }
        for (std::size_t at = 0; at + kDirectoryEntrySize <= directory->size();) {
            const std::size_t name = at + kDirectoryEntrySize;
            const std::size_t nameLength = Field(*directory, at + 28, 2);
            if (Field(*directory, at, 4) != kDirectoryEntrySignature ||
                name + nameLength > directory->size()) {
                return std::nullopt;
            }
            if (std::string_view(reinterpret_cast<const char*>(directory->data() + name),
                                 nameLength) == partName) {
                return Entry{Field(*directory, at + 10, 2), Field(*directory, at + 20, 4),
                             Field(*directory, at + 42, 4)};
            }
            at = name + nameLength + Field(*directory, at + 30, 2) + Field(*directory, at + 32, 2);
        }
        return std::nullopt;
    }

    // Where the part's compressed data starts, after its local header.
    std::optional<std::uint64_t> DataOffset(const Entry& entry) {
        const std::optional<Bytes> header = ReadAt(entry.headerOffset, kLocalHeaderSize);
        if (!header || Field(*header, 0, 4) != kLocalHeaderSignature) {
            return std::nullopt;
        }
        return entry.headerOffset + kLocalHeaderSize + Field(*header, 26, 2) +
               Field(*header, 28, 2);
    }

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
};

void KeepTail(PartEnding& ending, const unsigned char* bytes, std::size_t count,
              std::size_t tailLength) {
    ending.size += count;
    ending.tail.append(reinterpret_cast<const char*>(bytes), count);
    if (ending.tail.size() > tailLength) {
        ending.tail.erase(0, ending.tail.size() - tailLength);
    }
}

std::optional<PartEnding> Inflate(Package& package, std::uint64_t offset,
                                  std::uint64_t compressedSize, std::size_t tailLength) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    PartEnding ending;
    std::array<unsigned char, kChunk> out{};
    int status = Z_OK;
    for (std::uint64_t done = 0; status == Z_OK && done < compressedSize;) {
        const std::uint64_t count = std::min<std::uint64_t>(kChunk, compressedSize - done);
        std::optional<Bytes> in = package.ReadAt(offset + done, count);
        if (!in) {
            break;
        }
        done += count;
        stream.next_in = in->data();
        stream.avail_in = static_cast<uInt>(in->size());
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            KeepTail(ending, out.data(), out.size() - stream.avail_out, tailLength);
        } while (status == Z_OK && stream.avail_out == 0);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? std::optional<PartEnding>(std::move(ending)) : std::nullopt;
}

} // namespace

std::optional<PartEnding> ReadPartEnding(const std::string& packagePath, std::string_view partName,
                                         std::size_t tailLength) {
    Package package(packagePath);
    const std::optional<Package::Entry> entry = package.Find(partName);
    if (!entry || entry->method != kDeflated) {
        return std::nullopt;
    }
    const std::optional<std::uint64_t> data = package.DataOffset(*entry);
    if (!data) {
        return std::nullopt;
    }
    return Inflate(package, *data, entry->compressedSize, tailLength);
}

} // namespace kestrix::table
