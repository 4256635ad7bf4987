#pragma once

// Interned texts: repeated cell texts and notes (location names, status notes) are stored once
// and named by a 32-bit id. Texts are kept until Clear. A table holds one distinct time stamp
// per row, so a text costs its characters plus about 16 bytes: the characters sit end to end in
// one buffer, and the index is an open-addressed table of ids.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::table {

class StringPool {
public:
    // Id 0 is the empty text.
    StringPool();

    std::uint32_t Intern(std::string_view text);
    bool Holds(std::uint32_t id) const { return id < Count(); }
    // Valid until the next Intern or Clear.
    std::string_view Get(std::uint32_t id) const {
        return std::string_view(characters_).substr(starts_[id], starts_[id + 1] - starts_[id]);
    }
    // The text's width in characters (see TextWidth), measured once per distinct text.
    int Width(std::uint32_t id) const { return widths_[id]; }
    void Clear();
    std::size_t BytesHeld() const;

private:
    std::size_t Count() const { return widths_.size(); }
    void Grow();
    // The slot that holds the text's id, or the empty slot where it belongs.
    std::size_t Slot(std::string_view text, std::size_t hash) const;

    std::string characters_;
    std::vector<std::uint64_t> starts_; // text i is characters_[starts_[i], starts_[i + 1])
    std::vector<std::int32_t> widths_;
    std::vector<std::uint32_t> slots_; // id + 1 per used slot, 0 when free; size a power of 2
};

} // namespace kestrix::table
