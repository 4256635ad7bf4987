#pragma once

// Texts from an instrument or an imported file shown on a terminal: control characters
// (ESC, newline, tab, C1 codes) and the backslash are written as escapes such as \x1b, \n and
// \\, so that a name can neither recolour the terminal nor forge a line.

#include <string>

namespace kestrix::cli {

std::string PrintableText(const std::string& text);

} // namespace kestrix::cli
