#include "kestrix/table/StringPool.h"

#include "kestrix/table/TextWidth.h"

namespace kestrix::table {

StringPool::StringPool() {
    Clear();
}

std::uint32_t StringPool::Intern(std::string_view text) {
    if (const auto it = ids_.find(text); it != ids_.end()) {
        return it->second;
    }
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(Entry{std::string(text), TextWidth(text)});
    ids_.emplace(texts_.back().text, id);
    return id;
}

void StringPool::Clear() {
    texts_.clear();
    ids_.clear();
    Intern({});
}

std::size_t StringPool::BytesHeld() const {
    constexpr std::size_t kNodeOverhead = 2 * sizeof(void*);
    constexpr std::size_t kSmallText = 15; // held inside std::string without a heap block
    std::size_t bytes =
        texts_.size() * sizeof(Entry) + ids_.bucket_count() * sizeof(void*) +
        ids_.size() * (sizeof(std::string_view) + sizeof(std::uint32_t) + kNodeOverhead);
    for (const Entry& entry : texts_) {
        if (entry.text.capacity() > kSmallText) {
            bytes += entry.text.capacity() + 1;
        }
    }
    return bytes;
}

} // namespace kestrix::table
