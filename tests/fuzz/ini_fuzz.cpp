// Parses the input as an INI file, reads keys, writes one and checks that the
// write reads back, touches nothing else and survives a round trip.

#include "kestrix/ini/IniFile.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

constexpr std::size_t kUnlimited = 1 << 20;
constexpr const char* kMissing = "\x01missing";

std::string ExpectedReadBack(const std::string& value) {
    std::string line;
    for (char c : value.substr(0, value.find('\0'))) {
        if (c != '\r' && c != '\n') {
            line.push_back(c);
        }
    }
    const auto blank = [](char c) {
        return std::string_view(" \t\r\v\f").find(c) != std::string_view::npos;
    };
    while (!line.empty() && blank(line.back())) {
        line.pop_back();
    }
    line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), blank));
    return line;
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || c == '_';
    });
}

std::string AsciiLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return s;
}

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string otherSection = input.ConsumeRandomLengthString(16);
    const std::string otherKey = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::size_t bufferLength = input.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::string text = input.ConsumeRemainingBytesAsString();

    kestrix::IniFile file = kestrix::IniFile::FromText(text);
    Check(file.Text() == text);

    const std::string truncated = file.GetString(otherSection, otherKey, kMissing, bufferLength);
    Check(truncated.size() <= 4 * (bufferLength == 0 ? 0 : bufferLength - 1));
    Check(truncated.find('\0') == std::string::npos);
    (void)file.GetInt(section, key, 7);
    const std::string otherBefore = file.GetString(otherSection, otherKey, kMissing, kUnlimited);
    const bool samePair =
        AsciiLower(section) == AsciiLower(otherSection) && AsciiLower(key) == AsciiLower(otherKey);

    if (!file.SetString(section, key, value)) {
        Check(!(IsPlainName(section) && IsPlainName(key)));
        Check(file.Text() == text);
        return 0;
    }
    const std::string expected = ExpectedReadBack(value);
    Check(file.GetString(section, key, kMissing, kUnlimited) == expected);
    Check(samePair || file.GetString(otherSection, otherKey, kMissing, kUnlimited) == otherBefore);

    const kestrix::IniFile reread = kestrix::IniFile::FromText(file.Text());
    Check(reread.GetString(section, key, kMissing, kUnlimited) == expected);
    Check(samePair ||
          reread.GetString(otherSection, otherKey, kMissing, kUnlimited) == otherBefore);
    Check(reread.Text() == file.Text());
    return 0;
}
