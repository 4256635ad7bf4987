#pragma once

// The "#" + row reference tokens of formula texts: reading them and rewriting them while
// leaving the rest of the text exactly as written.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kestrix::table {

// Row numbers of more than this many digits name no row (evaluation gives #REF!).
constexpr std::size_t kMaxReferenceDigits = 9;

// Length of the "#" + digits token at the start of text, 0 when there is none.
std::size_t ReferenceLength(std::string_view text);

// The row of a token measured by ReferenceLength; a row too long to hold gives INT_MAX.
int ReferenceRow(std::string_view token);

// Replaces every reference token by replace(row, token); the rest of the text is kept.
using ReferenceReplacer = std::function<std::string(int row, std::string_view token)>;
std::string MapReferences(std::string_view text, const ReferenceReplacer& replace);

// Adds `by` to every referenced row at or after fromRow (rows being inserted above them).
std::string ShiftReferences(std::string_view text, int fromRow, int by);

} // namespace kestrix::table
