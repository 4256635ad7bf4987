#include "kestrix/ini/IniFile.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/base/textEncoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string AsciiLower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string_view CutAtNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

std::string_view FirstCharacters(std::string_view s, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < s.size(); ++n) {
        end += base::Utf8SequenceLength(s, end);
    }
    return s.substr(0, end);
}

std::int32_t ParseUnsignedSaturated(std::string_view digits) {
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<std::int64_t>(value * 10 + (c - '0'), INT32_MAX);
    }
    return static_cast<std::int32_t>(value);
}

// A name is usable when a line written with it parses back to the same name.
bool IsWritableName(std::string_view name) {
    return !name.empty() && Trim(name).size() == name.size() &&
           name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsWritableSection(std::string_view name) {
    return IsWritableName(name) && name.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
    return IsWritableName(key) && key.find('=') == std::string_view::npos && key.front() != '[' &&
           key.front() != ';';
}

std::string OneLineValue(std::string_view value) {
    std::string line;
    for (char c : CutAtNul(value)) {
        if (c != '\r' && c != '\n') {
            line.push_back(c);
        }
    }
    return line;
}

// The name inside "[name]" (up to the last bracket), or nothing when the line
// is not a section header.
std::optional<std::string_view> SectionHeaderName(std::string_view text) {
    const std::string_view body = Trim(text);
    if (body.empty() || body.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = body.rfind(']');
    if (close == std::string_view::npos || close == 0) {
        return std::nullopt;
    }
    return Trim(body.substr(1, close - 1));
}

std::size_t KeyEqualsPos(std::string_view text) {
    const std::string_view body = Trim(text);
    if (body.empty() || body.front() == ';') {
        return std::string::npos;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || Trim(text.substr(0, equals)).empty()) {
        return std::string::npos;
    }
    return equals;
}

// ---- Reading the file ----

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
    // Non-blocking open so that a FIFO in place of the file cannot hang the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        ok = got >= 0;
        if (got <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok ? ReadResult::Ok : ReadResult::Failed;
}

} // namespace

IniFile IniFile::FromText(std::string_view text) {
    IniFile file;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            file.AppendLine(text, LineEnd::None);
            break;
        }
        std::string_view line = text.substr(0, newline);
        const bool crlf = !line.empty() && line.back() == '\r';
        if (crlf) {
            line.remove_suffix(1);
        }
        file.AppendLine(line, crlf ? LineEnd::CrLf : LineEnd::Lf);
        text.remove_prefix(newline + 1);
    }
    return file;
}

bool IniFile::Load(const TextDecoder& decode) {
    std::string bytes;
    const ReadResult result = ReadWholeFile(path_, bytes);
    if (result != ReadResult::Ok) {
        bytes.clear();
    } else if (decode) {
        bytes = decode(std::move(bytes));
    }
    std::string path = std::move(path_);
    *this = FromText(bytes);
    path_ = std::move(path);
    return result != ReadResult::Failed;
}

bool IniFile::Save(std::string* error) const {
    return !path_.empty() && base::ReplaceFileAtomically(path_, Text(), error);
}

void IniFile::AppendLine(std::string_view text, LineEnd end) {
    Line line{std::string(text), end};
    if (const auto name = SectionHeaderName(text)) {
        StartSection(*name, std::move(line));
        return;
    }
    Section& section = sections_.back();
    line.equalsPos = KeyEqualsPos(text);
    if (line.equalsPos != std::string::npos) {
        const std::string_view key = Trim(std::string_view(text).substr(0, line.equalsPos));
        section.firstKeyLine.try_emplace(AsciiLower(key), section.lines.size());
        section.lastKeyLine = section.lines.size();
    }
    section.lines.push_back(std::move(line));
}

bool IniFile::HasSection(std::string_view section) const {
    return firstSection_.contains(AsciiLower(section));
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
    const auto found = firstSection_.find(AsciiLower(section));
    if (found == firstSection_.end()) {
        return nullptr;
    }
    const Section& lines = sections_[found->second];
    const auto keyLine = lines.firstKeyLine.find(AsciiLower(key));
    return keyLine == lines.firstKeyLine.end() ? nullptr : &lines.lines[keyLine->second];
}

std::int32_t IniFile::GetInt(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const {
    const Line* line = FindKey(section, key);
    if (line == nullptr) {
        return defaultValue;
    }
    const std::string_view value = Trim(std::string_view(line->text).substr(line->equalsPos + 1));
    return value.empty() ? defaultValue : ParseUnsignedSaturated(value);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t bufferLength) const {
    const Line* line = FindKey(section, key);
    const std::string_view value =
        line == nullptr ? defaultValue
                        : Trim(std::string_view(line->text).substr(line->equalsPos + 1));
    if (bufferLength == 0) {
        return {};
    }
    return std::string(FirstCharacters(CutAtNul(value), bufferLength - 1));
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsWritableSection(section) || !IsWritableKey(key)) {
        return false;
    }
    const std::string oneLine = OneLineValue(value);
    const auto found = firstSection_.find(AsciiLower(section));
    Section& target = found == firstSection_.end() ? AddSection(section) : sections_[found->second];
    const auto keyLine = target.firstKeyLine.find(AsciiLower(key));
    if (keyLine == target.firstKeyLine.end()) {
        AddKey(target, key, oneLine);
        return true;
    }
    Line& line = target.lines[keyLine->second];
    line.text.resize(line.equalsPos + 1);
    line.text += oneLine;
    return true;
}

IniFile::Section& IniFile::AddSection(std::string_view name) {
    const LineEnd end = NewLineEnd();
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->lines.empty()) {
            EndLine(section->lines.back(), end);
            break;
        }
    }
    return StartSection(name, Line{"[" + std::string(name) + "]", end});
}

IniFile::Section& IniFile::StartSection(std::string_view name, Line header) {
    firstSection_.try_emplace(AsciiLower(name), sections_.size());
    Section& section = sections_.emplace_back();
    section.lines.push_back(std::move(header));
    return section;
}

// Keys go after the section's last key, so comments and blank lines that
// close the section stay below them.
void IniFile::AddKey(Section& section, std::string_view key, std::string_view value) {
    const LineEnd end = NewLineEnd();
    const std::size_t after = section.lastKeyLine;
    EndLine(section.lines[after], end);
    Line line{std::string(key) + "=" + std::string(value), end, key.size()};
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                         std::move(line));
    section.firstKeyLine.try_emplace(AsciiLower(key), after + 1);
    section.lastKeyLine = after + 1;
}

void IniFile::EndLine(Line& line, LineEnd end) {
    if (line.end == LineEnd::None) {
        line.end = end;
    }
}

// New lines follow the file's first line end, so a CR LF file stays CR LF.
IniFile::LineEnd IniFile::NewLineEnd() const {
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            if (line.end != LineEnd::None) {
                return line.end;
            }
        }
    }
    return LineEnd::Lf;
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            text += line.text;
            text += line.end == LineEnd::CrLf ? "\r\n" : line.end == LineEnd::Lf ? "\n" : "";
        }
    }
    return text;
}

} // namespace kestrix
