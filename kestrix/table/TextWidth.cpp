#include "kestrix/table/TextWidth.h"

#include <algorithm>

namespace kestrix::table {

int TextWidth(std::string_view text) {
    int widest = 0;
    int line = 0;
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            line = 0;
            continue;
        }
        const bool continuationByte = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (!continuationByte) {
            widest = std::max(widest, ++line);
        }
    }
    return widest;
}

} // namespace kestrix::table
