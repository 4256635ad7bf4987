#include "kestrix/data/plainJson.h"

#include "kestrix/data/jsonField.h"

#include <charconv>
#include <cstring>

namespace kestrix::data {

namespace {

// Up to 18 digits an int64 holds whatever they are.
constexpr std::size_t kMaxIntegerDigits = 18;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EndsScalar(char c) {
    return c == ',' || c == '}' || c == ']' || c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

std::int64_t DigitsValue(std::string_view digits) {
    std::int64_t value = 0;
    for (const char digit : digits) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

} // namespace

std::string_view PlainJson::Text() {
    Expect('"');
    const char* start = next_;
    for (; next_ != end_; ++next_) {
        const auto c = static_cast<unsigned char>(*next_);
        if (c == '"') {
            return {start, static_cast<std::size_t>(next_++ - start)};
        }
        if (c == '\\' || c < 0x20 || c >= 0x80) {
            break;
        }
    }
    throw NotPlainJson();
}

bool PlainJson::TakeText(std::string_view text) {
    SkipWhitespace();
    const auto left = static_cast<std::size_t>(end_ - next_);
    if (left < text.size() + 2 || next_[0] != '"' || next_[text.size() + 1] != '"' ||
        std::memcmp(next_ + 1, text.data(), text.size()) != 0) {
        return false;
    }
    next_ += text.size() + 2;
    return true;
}

// The integer part of a number: "0" or digits without a leading zero.
std::string_view PlainJson::Digits() {
    const char* start = next_;
    if (Peek() == '0') {
        ++next_;
    } else {
        while (IsDigit(Peek())) {
            ++next_;
        }
    }
    if (next_ == start) {
        throw NotPlainJson();
    }
    return {start, static_cast<std::size_t>(next_ - start)};
}

std::int64_t PlainJson::Integer(std::int64_t min, std::int64_t max) {
    const bool negative = Take('-');
    const std::string_view digits = Digits();
    const char after = Peek();
    if (digits.size() > kMaxIntegerDigits || after == '.' || after == 'e' || after == 'E') {
        throw NotPlainJson();
    }
    const std::int64_t magnitude = DigitsValue(digits);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < min || value > max) {
        throw NotPlainJson();
    }
    return value;
}

double PlainJson::NumberOrNonFinite() {
    SkipWhitespace();
    if (Peek() == '"') {
        if (const auto value = jsonField::NonFiniteNumber(Text())) {
            return *value;
        }
        throw NotPlainJson();
    }
    const char* start = next_;
    const bool negative = Take('-');
    const std::string_view digits = Digits();
    bool integer = true;
    if (Peek() == '.') {
        ++next_;
        integer = false;
        if (!IsDigit(Peek())) {
            throw NotPlainJson();
        }
        while (IsDigit(Peek())) {
            ++next_;
        }
    }
    if (Peek() == 'e' || Peek() == 'E') {
        ++next_;
        integer = false;
        if (Peek() == '+' || Peek() == '-') {
            ++next_;
        }
        if (!IsDigit(Peek())) {
            throw NotPlainJson();
        }
        while (IsDigit(Peek())) {
            ++next_;
        }
    }
    if (integer) {
        // An integer is read as one, so "-0" is 0 as a whole parse gives it.
        if (digits.size() > kMaxIntegerDigits) {
            throw NotPlainJson();
        }
        const std::int64_t magnitude = DigitsValue(digits);
        return static_cast<double>(negative ? -magnitude : magnitude);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(start, next_, value);
    if (error != std::errc() || end != next_) {
        throw NotPlainJson();
    }
    return value;
}

bool PlainJson::Flag() {
    SkipWhitespace();
    const auto left = static_cast<std::size_t>(end_ - next_);
    for (const bool flag : {true, false}) {
        const std::string_view word = flag ? "true" : "false";
        if (left >= word.size() && std::memcmp(next_, word.data(), word.size()) == 0) {
            next_ += word.size();
            return flag;
        }
    }
    throw NotPlainJson();
}

std::string_view PlainJson::ValueText(std::size_t maxNesting) {
    SkipWhitespace();
    const char* start = next_;
    const char first = Peek();
    if (first == '{' || first == '[') {
        SkipContainer(maxNesting);
    } else if (first == '"') {
        SkipText();
    } else {
        while (next_ != end_ && !EndsScalar(*next_)) {
            ++next_;
        }
        if (next_ == end_ || next_ == start) {
            throw NotPlainJson();
        }
    }
    return {start, static_cast<std::size_t>(next_ - start)};
}

void PlainJson::SkipText() {
    for (++next_; next_ != end_; ++next_) {
        if (*next_ == '"') {
            ++next_;
            return;
        }
        if (*next_ == '\\' && ++next_ == end_) {
            break;
        }
    }
    throw NotPlainJson();
}

void PlainJson::SkipContainer(std::size_t maxNesting) {
    std::size_t depth = 0;
    while (next_ != end_) {
        const char c = *next_;
        if (c == '"') {
            SkipText();
            continue;
        }
        ++next_;
        if (c == '{' || c == '[') {
            if (++depth > maxNesting) {
                break;
            }
        } else if ((c == '}' || c == ']') && --depth == 0) {
            return;
        }
    }
    throw NotPlainJson();
}

} // namespace kestrix::data
