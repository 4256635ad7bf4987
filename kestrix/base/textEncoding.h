#pragma once

// UTF-8 checks and the one 8-bit code page that older files of ours were written in.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrix::base {

// Length of the well-formed UTF-8 sequence at i, or 1 for a byte that does not start one, so
// that invalid bytes count as one character each.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i);

bool IsValidUtf8(std::string_view s);

// Windows-1252 text as UTF-8; the five codes that page leaves undefined become U+FFFD.
std::string Utf8FromWindows1252(std::string_view s);

// The text itself when it is valid UTF-8, else the text read as Windows-1252.
std::string Utf8FromUtf8OrWindows1252(std::string text);

// Text that begins with a byte order mark as UTF-8 without it: UTF-8 as it stands, UTF-16
// (either byte order) converted, a bad surrogate and an odd last byte becoming U+FFFD. Text
// without a mark is returned as it is.
std::string Utf8WithoutByteOrderMark(std::string text);

} // namespace kestrix::base
