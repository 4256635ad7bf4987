#include "kestrix/cli/printableText.h"

#include <QList>
#include <QString>

namespace kestrix::cli {

namespace {

constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1 = 0x9F;

bool IsControl(char32_t code) {
    return code < kFirstPrintable || (code >= kDelete && code <= kLastC1);
}

std::string Escape(char32_t code) {
    switch (code) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    case '\\':
        return "\\\\";
    default:
        return QStringLiteral("\\x%1")
            .arg(static_cast<unsigned>(code), 2, 16, QChar('0'))
            .toStdString();
    }
}

} // namespace

std::string PrintableText(const std::string& text) {
    std::string printable;
    printable.reserve(text.size());
    for (const uint value : QString::fromStdString(text).toUcs4()) {
        const auto code = static_cast<char32_t>(value);
        if (IsControl(code) || code == '\\') {
            printable += Escape(code);
        } else {
            printable += QString::fromUcs4(&code, 1).toStdString();
        }
    }
    return printable;
}

} // namespace kestrix::cli
