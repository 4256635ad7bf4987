#include "kestrix/table/FormatPool.h"

#include <limits>

namespace kestrix::table {

namespace {

constexpr std::size_t kDecimalChoices = CellFormat::kMaxDecimals + 1;
constexpr std::uint32_t kNotKnown = std::numeric_limits<std::uint32_t>::max();

} // namespace

FormatPool::FormatPool() {
    Clear();
}

std::uint32_t FormatPool::Intern(const CellFormat& format) {
    const auto [it, inserted] =
        ids_.try_emplace(format, static_cast<std::uint32_t>(formats_.size()));
    if (inserted) {
        formats_.push_back(format);
    }
    return it->second;
}

std::uint32_t FormatPool::WithDecimals(std::uint32_t id, std::uint8_t decimals) {
    const std::size_t slot = id * kDecimalChoices + decimals;
    if (slot >= withDecimals_.size()) {
        withDecimals_.resize(formats_.size() * kDecimalChoices, kNotKnown);
    }
    if (withDecimals_[slot] == kNotKnown) {
        CellFormat format = formats_[id];
        format.decimals = decimals;
        withDecimals_[slot] = Intern(format);
    }
    return withDecimals_[slot];
}

void FormatPool::Clear() {
    formats_.clear();
    ids_.clear();
    withDecimals_.clear();
    Intern(CellFormat{});
}

std::size_t FormatPool::BytesHeld() const {
    constexpr std::size_t kNodeOverhead = 2 * sizeof(void*);
    return formats_.capacity() * sizeof(CellFormat) + ids_.bucket_count() * sizeof(void*) +
           ids_.size() * (sizeof(CellFormat) + sizeof(std::uint32_t) + kNodeOverhead) +
           withDecimals_.capacity() * sizeof(std::uint32_t);
}

} // namespace kestrix::table
