#include "kestrix/table/StringPool.h"

#include "kestrix/table/TextWidth.h"

#include <functional>

namespace kestrix::table {

namespace {

constexpr std::size_t kFirstSlots = 64;

std::size_t Hash(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

} // namespace

StringPool::StringPool() {
    Clear();
}

std::size_t StringPool::Slot(std::string_view text, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == 0 || Get(slots_[slot] - 1) == text) {
            return slot;
        }
    }
}

std::uint32_t StringPool::Intern(std::string_view text) {
    const std::size_t hash = Hash(text);
    const std::size_t slot = Slot(text, hash);
    if (slots_[slot] != 0) {
        return slots_[slot] - 1;
    }
    const auto id = static_cast<std::uint32_t>(Count());
    characters_.append(text);
    starts_.push_back(characters_.size());
    widths_.push_back(TextWidth(text));
    slots_[slot] = id + 1;
    // Kept at most half full, so that probes stay short.
    if (Count() * 2 > slots_.size()) {
        Grow();
    }
    return id;
}

void StringPool::Grow() {
    std::vector<std::uint32_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint32_t entry : old) {
        if (entry == 0) {
            continue;
        }
        std::size_t slot = Hash(Get(entry - 1)) & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = entry;
    }
}

void StringPool::Clear() {
    characters_.clear();
    characters_.shrink_to_fit();
    starts_.assign(1, 0);
    starts_.shrink_to_fit();
    widths_.clear();
    widths_.shrink_to_fit();
    slots_.assign(kFirstSlots, 0);
    slots_.shrink_to_fit();
    Intern({});
}

std::size_t StringPool::BytesHeld() const {
    return characters_.capacity() + starts_.capacity() * sizeof(std::uint64_t) +
           widths_.capacity() * sizeof(std::int32_t) + slots_.capacity() * sizeof(std::uint32_t);
}

} // namespace kestrix::table
