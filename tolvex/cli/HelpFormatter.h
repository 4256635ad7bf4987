#pragma once

// The help of the command-line programs, kept within a terminal's 80 columns.

#include <CLI/CLI.hpp>
#include <cstddef>
#include <string>

namespace tolvex::cli {

inline constexpr std::size_t kHelpColumns = 80;

// Breaks each line longer than COLUMNS between words; a continuation starts under the text it
// continues: an option's description, an exit status's meaning, else the line's own indent.
std::string WrapHelpLines(const std::string& text, std::size_t columns = kHelpColumns);

// Set on a program before its subcommands are added, which take it over. An option's value is
// shown by its name alone (--from TIME), without the validators' wording, and a positional by
// its own name; the description says what the value may be.
class HelpFormatter : public CLI::Formatter {
public:
    // Two spaces at least between an option and its text, which otherwise start on the next
    // line under the text column; nothing trails an option without text.
    std::string make_option(const CLI::Option* option, bool positional) const override;
    std::string make_option_opts(const CLI::Option* option) const override;
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;
};

} // namespace tolvex::cli
