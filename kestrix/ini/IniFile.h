#pragma once

// An INI file with the semantics of the classic private-profile functions:
// case-blind (ASCII) section and key names, blanks around names and values
// ignored, the first of duplicate sections and keys wins. Writing a key keeps
// every other line of the file byte for byte.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrix {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // Parses text as the contents of a file (used for files and by the fuzzer).
    static IniFile FromText(std::string_view text);

    // Turns a file's bytes into the UTF-8 text that is parsed.
    using TextDecoder = std::function<std::string(std::string)>;

    // Reads the file at the path, its bytes through `decode` when one is
    // given. A missing file reads as an empty file; false (and empty
    // contents) when the file exists but cannot be read.
    bool Load(const TextDecoder& decode = nullptr);

    // Writes the whole file through a temporary file in the same folder that
    // is renamed into place, so the file is never half-written. Keeps the
    // file's mode and writes through a symbolic link to its target. When it
    // fails, `error` (if given) tells why.
    bool Save(std::string* error = nullptr) const;

    const std::string& Path() const { return path_; }

    // True when the file has a section of that name (in any case).
    bool HasSection(std::string_view section) const;

    // The section's keys (their first spelling, duplicates once) in file order; none for a
    // missing section.
    std::vector<std::string> Keys(std::string_view section) const;

    // The value as an unsigned decimal number that stops at the first
    // non-digit (0 when it does not start with a digit, saturated at the
    // largest int32); the default when the key is missing or empty.
    std::int32_t GetInt(std::string_view section, std::string_view key,
                        std::int32_t defaultValue) const;

    // The value (or the default when the key is missing), cut at its first
    // NUL and to at most bufferLength - 1 UTF-8 characters.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferLength) const;

    // Replaces the key's value in place, or adds the key at the end of its
    // section, or adds the section at the end of the file. The value is cut at
    // its first NUL and loses any CR and LF, so it stays on one line. False
    // for a section or key name that could not be read back as written.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // The file's contents as they would be saved.
    std::string Text() const;

private:
    enum class LineEnd { None, Lf, CrLf };

    struct Line {
        std::string text;
        LineEnd end = LineEnd::None;
        std::size_t equalsPos = std::string::npos; // set for key lines only
    };

    // Lines from one section header up to the next; the first section holds
    // the lines before any header and has no name.
    struct Section {
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> firstKeyLine; // lower-case key
        std::size_t lastKeyLine = 0;                               // header when no key
    };

    void AppendLine(std::string_view text, LineEnd end);
    const Line* FindKey(std::string_view section, std::string_view key) const;
    Section& AddSection(std::string_view name);
    Section& StartSection(std::string_view name, Line header);
    void AddKey(Section& section, std::string_view key, std::string_view value);
    static void EndLine(Line& line, LineEnd end);
    LineEnd NewLineEnd() const;

    std::string path_;
    std::vector<Section> sections_{Section{}};
    std::unordered_map<std::string, std::size_t> firstSection_; // lower-case name
};

} // namespace kestrix
