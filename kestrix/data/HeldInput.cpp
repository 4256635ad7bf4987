#include "kestrix/data/HeldInput.h"

#include <utility>

namespace kestrix::data {

bool HeldInput::Take(std::istream& in, std::uint64_t maxBytes) {
    blocks_.clear();
    size_ = 0;
    while (true) {
        // Asking for no more than the limit and one byte keeps the last block within it.
        const std::uint64_t room = maxBytes - size_;
        const std::size_t wanted =
            room < kBlockBytes ? static_cast<std::size_t>(room) + 1 : kBlockBytes;
        std::string block(wanted, '\0');
        in.read(block.data(), static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(in.gcount());
        size_ += got;
        if (size_ > maxBytes) {
            blocks_ = {};
            size_ = 0;
            return false;
        }
        if (got > 0) {
            block.resize(got);
            blocks_.push_back(std::move(block));
        }
        if (got < wanted) {
            break;
        }
    }
    ShowFrom(0);
    return true;
}

std::uint64_t HeldInput::Position() const {
    const auto inBlock = eback() == nullptr ? 0 : static_cast<std::uint64_t>(gptr() - eback());
    return block_ * std::uint64_t{kBlockBytes} + inBlock;
}

void HeldInput::ShowFrom(std::uint64_t position) {
    block_ = static_cast<std::size_t>(position / kBlockBytes);
    if (block_ >= blocks_.size()) {
        setg(nullptr, nullptr, nullptr);
        return;
    }
    std::string& block = blocks_[block_];
    setg(block.data(), block.data() + position % kBlockBytes, block.data() + block.size());
}

HeldInput::int_type HeldInput::underflow() {
    const std::uint64_t position = Position();
    if (position >= size_) {
        return traits_type::eof();
    }
    ShowFrom(position);
    return traits_type::to_int_type(*gptr());
}

HeldInput::pos_type HeldInput::seekoff(off_type offset, std::ios_base::seekdir direction,
                                       std::ios_base::openmode which) {
    const pos_type refused(off_type(-1));
    if ((which & std::ios_base::in) == 0) {
        return refused;
    }
    std::int64_t base = 0;
    if (direction == std::ios_base::cur) {
        base = static_cast<std::int64_t>(Position());
    } else if (direction == std::ios_base::end) {
        base = static_cast<std::int64_t>(size_);
    }
    const std::int64_t target = base + offset;
    if (target < 0 || static_cast<std::uint64_t>(target) > size_) {
        return refused;
    }
    ShowFrom(static_cast<std::uint64_t>(target));
    return pos_type(target);
}

HeldInput::pos_type HeldInput::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

} // namespace kestrix::data
