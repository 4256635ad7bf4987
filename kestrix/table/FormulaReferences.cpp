#include "kestrix/table/FormulaReferences.h"

#include <cctype>
#include <climits>

namespace kestrix::table {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::size_t ReferenceLength(std::string_view text) {
    if (text.empty() || text.front() != '#') {
        return 0;
    }
    std::size_t length = 1;
    while (length < text.size() && IsDigit(text[length])) {
        ++length;
    }
    return length > 1 ? length : 0;
}

int ReferenceRow(std::string_view token) {
    const std::string_view digits = token.substr(1);
    if (digits.size() > kMaxReferenceDigits) {
        return INT_MAX;
    }
    int row = 0;
    for (char c : digits) {
        row = row * 10 + (c - '0');
    }
    return row;
}

std::string MapReferences(std::string_view text, const ReferenceReplacer& replace) {
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = ReferenceLength(text.substr(pos));
        if (length == 0) {
            result += text[pos++];
            continue;
        }
        const std::string_view token = text.substr(pos, length);
        result += replace(ReferenceRow(token), token);
        pos += length;
    }
    return result;
}

std::string ShiftReferences(std::string_view text, int fromRow, int by) {
    return MapReferences(text, [fromRow, by](int row, std::string_view token) {
        if (row == INT_MAX || row < fromRow) {
            return std::string(token);
        }
        return "#" + std::to_string(row + by);
    });
}

} // namespace kestrix::table
