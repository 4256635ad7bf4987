#pragma once

// Interned texts: repeated cell texts and notes (location names, status notes) are stored once
// and named by a 32-bit id. Texts are kept until Clear.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrix::table {

class StringPool {
public:
    // Id 0 is the empty text.
    StringPool();

    std::uint32_t Intern(std::string_view text);
    const std::string& Get(std::uint32_t id) const { return texts_[id].text; }
    // The text's width in characters (see TextWidth), measured once per distinct text.
    int Width(std::uint32_t id) const { return texts_[id].width; }
    void Clear();
    std::size_t BytesHeld() const;

private:
    struct Entry {
        std::string text;
        int width = 0;
    };
    std::deque<Entry> texts_; // a deque keeps the texts in place for the views in ids_
    std::unordered_map<std::string_view, std::uint32_t> ids_;
};

} // namespace kestrix::table
