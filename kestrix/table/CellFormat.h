#pragma once

// How a cell is drawn and how its number is shown. Formats are interned by the grid, so
// cells sharing one look (a column of numbers with one decimals count and colour) share one.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kestrix::table {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // From 0xRRGGBB.
    static constexpr Rgb FromHex(std::uint32_t hex) {
        return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
                static_cast<std::uint8_t>(hex)};
    }
    constexpr std::uint32_t Hex() const {
        return (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
    }
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// General puts text to the left and numbers to the right.
enum class Alignment : std::uint8_t { General, Left, Center, Right };

// Bits of CellFormat::borders.
enum BorderSide : std::uint8_t {
    kBorderLeft = 0x01,
    kBorderTop = 0x02,
    kBorderRight = 0x04,
    kBorderBottom = 0x08,
    kBorderAll = 0x0F,
};

struct CellFormat {
    static constexpr int kMaxDecimals = 15;

    std::uint8_t decimals = 0; // of number and formula cells, 0 to kMaxDecimals
    Rgb textColor = kBlack;
    Rgb backColor = kWhite;
    Alignment alignment = Alignment::General;
    std::uint8_t borders = 0; // BorderSide bits
    bool bold = false;
    bool flagged = false; // the marker drawn on a cell that carries a note

    bool operator==(const CellFormat&) const = default;
};

struct CellFormatHash {
    std::size_t operator()(const CellFormat& f) const {
        const std::uint64_t packed =
            (std::uint64_t{f.decimals} << 56) ^ (std::uint64_t{f.textColor.Hex()} << 32) ^
            (std::uint64_t{f.backColor.Hex()} << 8) ^
            (std::uint64_t{static_cast<std::uint8_t>(f.alignment)} << 4) ^ f.borders ^
            (std::uint64_t{f.bold} << 60) ^ (std::uint64_t{f.flagged} << 61);
        return std::hash<std::uint64_t>{}(packed);
    }
};

} // namespace kestrix::table
