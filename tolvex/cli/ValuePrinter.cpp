#include "ValuePrinter.h"

#include <charconv>
#include <cstdio>

namespace tolvex::cli {
namespace {

template <class Number>
std::string Shortest(Number value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Hex(short value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(static_cast<uint16_t>(value)));
    return text;
}

std::string FormatElement(tolvex_control* c, short handle, short i, ValueFormat format) {
    switch (format) {
    case ValueFormat::Int:
        return std::to_string(tolvex_get_register(c, handle, i));
    case ValueFormat::Uint:
        return std::to_string(static_cast<uint16_t>(tolvex_get_register(c, handle, i)));
    case ValueFormat::Hex:
        return Hex(tolvex_get_register(c, handle, i));
    case ValueFormat::Long:
        return std::to_string(tolvex_get_long(c, handle, i));
    case ValueFormat::LongSwap:
        return std::to_string(tolvex_get_long_swap(c, handle, i));
    case ValueFormat::Float:
        return Shortest(tolvex_get_float(c, handle, i));
    case ValueFormat::FloatSwap:
        return Shortest(tolvex_get_float_swap(c, handle, i));
    case ValueFormat::Double:
        return Shortest(tolvex_get_double(c, handle, i));
    case ValueFormat::DoubleSwap:
        return Shortest(tolvex_get_double_swap(c, handle, i));
    }
    return {};
}

} // namespace

std::vector<std::string> FormatReadValues(tolvex_control* control, short handle,
                                          const CtlOptions& options) {
    std::vector<std::string> lines;
    if (!IsRegisterRead(options.command)) {
        for (short i = 0; i < options.quantity; ++i) {
            lines.push_back(std::to_string(tolvex_get_coil(control, handle, i)));
        }
        return lines;
    }
    const int elements = options.quantity / RegistersPerValue(options.format);
    for (short i = 0; i < elements; ++i) {
        lines.push_back(FormatElement(control, handle, i, options.format));
    }
    return lines;
}

} // namespace tolvex::cli
