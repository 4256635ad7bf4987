#include "kestrix/table/writers/XlsxFormats.h"

namespace kestrix::table {

namespace {

std::string DecimalsFormat(int decimals) {
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
}

std::uint8_t HorizontalAlignment(Alignment alignment) {
    switch (alignment) {
    case Alignment::Left:
        return LXW_ALIGN_LEFT;
    case Alignment::Center:
        return LXW_ALIGN_CENTER;
    case Alignment::Right:
        return LXW_ALIGN_RIGHT;
    case Alignment::General:
        break;
    }
    return LXW_ALIGN_NONE;
}

void SetBorders(lxw_format* format, std::uint8_t borders) {
    if (borders & kBorderLeft) {
        format_set_left(format, LXW_BORDER_THIN);
    }
    if (borders & kBorderTop) {
        format_set_top(format, LXW_BORDER_THIN);
    }
    if (borders & kBorderRight) {
        format_set_right(format, LXW_BORDER_THIN);
    }
    if (borders & kBorderBottom) {
        format_set_bottom(format, LXW_BORDER_THIN);
    }
}

} // namespace

XlsxLook SpanPartLook(const CellFormat& format, int offset, int columns) {
    XlsxLook look{format, true};
    if (offset > 0) {
        look.format.borders &= static_cast<std::uint8_t>(~kBorderLeft);
    }
    if (offset < columns - 1) {
        look.format.borders &= static_cast<std::uint8_t>(~kBorderRight);
    }
    return look;
}

XlsxFormats::XlsxFormats(lxw_workbook* workbook, std::string timestampFormat)
    : workbook_(workbook), timestampFormat_(std::move(timestampFormat)) {}

lxw_format* XlsxFormats::For(const XlsxLook& look, XlsxValueKind kind) {
    const Key key{look, kind};
    const auto found = formats_.find(key);
    if (found != formats_.end()) {
        return found->second;
    }
    return formats_.emplace(key, Create(key)).first->second;
}

lxw_format* XlsxFormats::Create(const Key& key) {
    lxw_format* format = workbook_add_format(workbook_);
    const CellFormat& look = key.look.format;
    if (key.kind == XlsxValueKind::Number) {
        format_set_num_format(format, DecimalsFormat(look.decimals).c_str());
    } else if (key.kind == XlsxValueKind::Timestamp) {
        format_set_num_format(format, timestampFormat_.c_str());
    }
    if (look.textColor != kBlack) {
        format_set_font_color(format, look.textColor.Hex());
    }
    if (look.backColor != kWhite) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        // Zero means "no colour" to the library, so black has its own code.
        format_set_bg_color(format, look.backColor == kBlack
                                        ? static_cast<lxw_color_t>(LXW_COLOR_BLACK)
                                        : look.backColor.Hex());
    }
    const std::uint8_t align = key.look.centredAcross ? std::uint8_t{LXW_ALIGN_CENTER_ACROSS}
                                                      : HorizontalAlignment(look.alignment);
    if (align != LXW_ALIGN_NONE) {
        format_set_align(format, align);
    }
    if (look.bold) {
        format_set_bold(format);
    }
    SetBorders(format, look.borders);
    return format;
}

} // namespace kestrix::table
