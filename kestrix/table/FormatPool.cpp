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

std::optional<FormatId> FormatPool::Intern(const CellFormat& format) {
    if (const auto it = ids_.find(format); it != ids_.end()) {
        return it->second;
    }
    if (formats_.size() >= kMaxFormats) {
        return std::nullopt;
    }
    const auto id = static_cast<FormatId>(formats_.size());
    formats_.push_back(format);
    ids_.emplace(format, id);
    return id;
}

std::optional<FormatId> FormatPool::WithDecimals(FormatId id, std::uint8_t decimals) {
    const std::size_t slot = id * kDecimalChoices + decimals;
    if (slot >= withDecimals_.size()) {
        withDecimals_.resize(formats_.size() * kDecimalChoices, kNotKnown);
    }
    if (withDecimals_[slot] == kNotKnown) {
        CellFormat format = formats_[id];
        format.decimals = decimals;
        const std::optional<FormatId> interned = Intern(format);
        if (!interned) {
            return std::nullopt;
        }
        withDecimals_[slot] = *interned;
    }
    return static_cast<FormatId>(withDecimals_[slot]);
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
           ids_.size() * (sizeof(CellFormat) + sizeof(FormatId) + kNodeOverhead) +
           withDecimals_.capacity() * sizeof(std::uint32_t);
}

} // namespace kestrix::table
