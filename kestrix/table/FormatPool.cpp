#include "kestrix/table/FormatPool.h"

namespace kestrix::table {

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

void FormatPool::Clear() {
    formats_.clear();
    ids_.clear();
    Intern(CellFormat{});
}

std::size_t FormatPool::BytesHeld() const {
    constexpr std::size_t kNodeOverhead = 2 * sizeof(void*);
    return formats_.capacity() * sizeof(CellFormat) + ids_.bucket_count() * sizeof(void*) +
           ids_.size() * (sizeof(CellFormat) + sizeof(std::uint32_t) + kNodeOverhead);
}

} // namespace kestrix::table
