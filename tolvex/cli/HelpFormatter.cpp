#include "HelpFormatter.h"

#include <sstream>
#include <utility>

namespace tolvex::cli {
namespace {

// Where continuation lines start: after the first gap of two spaces within the first half of
// the line, which separates a name from its text in help's tables.
std::size_t HangingIndent(const std::string& line, std::size_t columns) {
    const std::size_t indent = line.find_first_not_of(' ');
    const std::size_t gap = line.find("  ", indent);
    const std::size_t text = gap == std::string::npos ? gap : line.find_first_not_of(' ', gap);
    return text != std::string::npos && text < columns / 2 ? text : indent;
}

// The value's name without the validators' descriptions, which follow it after a colon outside
// brackets (M2:POSITIVE, but HOST[:PORT]).
std::string ValueName(const std::string& type) {
    int depth = 0;
    for (std::size_t i = 0; i < type.size(); ++i) {
        depth += type[i] == '[' ? 1 : type[i] == ']' ? -1 : 0;
        if (type[i] == ':' && depth == 0) {
            return type.substr(0, i);
        }
    }
    return type;
}

void AppendWrapped(const std::string& line, std::size_t columns, std::string& out) {
    const std::size_t hang = HangingIndent(line, columns);
    std::string rest = line;
    while (rest.size() > columns) {
        std::size_t cut = rest.rfind(' ', columns);
        if (cut == std::string::npos || cut <= hang) {
            break; // one word wider than the room: kept whole
        }
        out += rest.substr(0, rest.find_last_not_of(' ', cut) + 1) + '\n';
        rest = std::string(hang, ' ') + rest.substr(rest.find_first_not_of(' ', cut));
    }
    out += rest + '\n';
}

} // namespace

std::string WrapHelpLines(const std::string& text, std::size_t columns) {
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.size() <= columns || line.find_first_not_of(' ') == std::string::npos) {
            out += line + '\n';
        } else {
            AppendWrapped(line, columns, out);
        }
    }
    if (!text.empty() && text.back() != '\n') {
        out.pop_back();
    }
    return out;
}

std::string HelpFormatter::make_option(const CLI::Option* option, bool positional) const {
    const std::string entry =
        "  " + make_option_name(option, positional) + make_option_opts(option);
    const std::string text = make_option_desc(option);
    if (text.empty()) {
        return entry + '\n';
    }
    const std::size_t column = get_column_width();
    const std::string gap = entry.size() + 2 <= column ? std::string(column - entry.size(), ' ')
                                                       : '\n' + std::string(column, ' ');
    return entry + gap + text + '\n';
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
    if (!option->get_option_text().empty()) {
        return " " + option->get_option_text();
    }
    if (option->get_type_size() == 0) {
        return {};
    }
    const bool repeated = option->get_expected_max() == CLI::detail::expected_max_vector_size;
    // A positional's name is its value's name; the text says what it takes.
    if (!option->nonpositional()) {
        return repeated ? " ..." : "";
    }
    const std::string type = option->get_type_name();
    std::string text = type.empty() ? "" : " " + ValueName(type);
    if (!option->get_default_str().empty()) {
        text += "=" + option->get_default_str();
    }
    if (repeated) {
        text += " ...";
    }
    if (option->get_required()) {
        text += " " + get_label("REQUIRED");
    }
    return text;
}

std::string HelpFormatter::make_help(const CLI::App* app, std::string name,
                                     CLI::AppFormatMode mode) const {
    return WrapHelpLines(CLI::Formatter::make_help(app, std::move(name), mode));
}

} // namespace tolvex::cli
