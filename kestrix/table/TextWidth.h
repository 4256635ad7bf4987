#pragma once

// The grid's width unit is one character: a text is as wide as the number of characters (UTF-8
// code points) of its longest line. A view turns it into pixels with its font's average
// character width.

#include <string_view>

namespace kestrix::table {

int TextWidth(std::string_view text);

} // namespace kestrix::table
