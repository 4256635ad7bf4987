#pragma once

// Reads, from a span of memory, the narrow JSON that the record-set writer produces: texts
// without escapes or bytes beyond ASCII, integers of at most 18 digits, numbers, flags. Any
// other form, a value out of its range or the end of the span throws NotPlainJson, whereupon
// the caller hands the document to the general reader, which names the fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrix::data {

struct NotPlainJson {};

class PlainJson {
public:
    explicit PlainJson(std::string_view span)
        : begin_(span.data()), next_(begin_), end_(begin_ + span.size()) {}

    std::size_t Consumed() const { return static_cast<std::size_t>(next_ - begin_); }

    // Each read passes over the whitespace before its token.
    void Expect(char token) {
        if (!Take(token)) {
            throw NotPlainJson();
        }
    }
    // Whether token came next; taken if so.
    bool Take(char token) {
        SkipWhitespace();
        if (next_ == end_ || *next_ != token) {
            return false;
        }
        ++next_;
        return true;
    }

    std::string_view Text();
    // Whether the text came next; taken if so.
    bool TakeText(std::string_view text);
    std::int64_t Integer(std::int64_t min, std::int64_t max);
    // A number, or one of the texts "NaN", "Infinity", "-Infinity".
    double NumberOrNonFinite();
    bool Flag();
    // The text of the next value of any kind, containers nested at most maxNesting deep, not
    // checked beyond its extent.
    std::string_view ValueText(std::size_t maxNesting);
    // Whether only whitespace is left.
    bool AtEnd() {
        SkipWhitespace();
        return next_ == end_;
    }

private:
    void SkipWhitespace() {
        while (next_ != end_ &&
               (*next_ == ' ' || *next_ == '\n' || *next_ == '\r' || *next_ == '\t')) {
            ++next_;
        }
    }
    char Peek() const { return next_ == end_ ? '\0' : *next_; }
    std::string_view Digits();
    void SkipContainer(std::size_t maxNesting);
    void SkipText();

    const char* begin_;
    const char* next_;
    const char* end_;
};

} // namespace kestrix::data
