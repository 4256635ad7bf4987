#pragma once

// The bytes of a stream that cannot be wound back (a pipe), held in blocks of a fixed size so
// that no buffer grows past the limit, and read back as a stream that can be wound back.

#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace kestrix::data {

class HeldInput : public std::streambuf {
public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

    // Reads what is left of in, one byte past maxBytes at most. False, holding nothing, when
    // more than maxBytes came.
    bool Take(std::istream& in, std::uint64_t maxBytes);

protected:
    int_type underflow() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    std::uint64_t Position() const;
    void ShowFrom(std::uint64_t position);

    std::vector<std::string> blocks_; // all full but the last
    std::uint64_t size_ = 0;
    std::size_t block_ = 0;
};

} // namespace kestrix::data
