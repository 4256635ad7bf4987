#include "kestrix/locations/locationNameRules.h"

#include "kestrix/locations/fixedWidthNames.h"
#include "kestrix/shell/modConfig.h"

#include <cctype>

namespace kestrix::locations {
namespace {

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool ShortNameUsedElsewhere(const modConfig::ConfigStore& store, int index,
                            const std::string& name) {
    for (int other = 0; other < modConfig::kLocationCount; ++other) {
        if (other != index && locations::TrimAtNul(store.GetShortLocationName(other)) == name) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string FilterShortNameInput(const std::string& text) {
    std::string kept;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == ' ') {
            kept += '_';
        } else if (code < 0x80 && (std::isalnum(code) || c == '_')) {
            kept += static_cast<char>(std::toupper(code));
        }
    }
    return kept;
}

std::optional<NameProblem> CheckLocationNames(const modConfig::ConfigStore& store, int index,
                                              const std::string& shortName,
                                              const std::string& longName) {
    const std::string name = TrimSpaces(shortName);
    if (name.empty()) {
        return NameProblem{"You must give a name to all short names!", NameField::ShortName};
    }
    if (name.size() > modConfig::kShortNameMaxChars) {
        return NameProblem{"Short names cannot be longer than 8 letters long!",
                           NameField::ShortName};
    }
    if (!locations::IsValidShortName(name) || name.find('\0') != std::string::npos) {
        return NameProblem{"Short names can only have capital letters A-Z, numbers, and "
                           "underscores.  Spaces are not allowed.",
                           NameField::ShortName};
    }
    if (ShortNameUsedElsewhere(store, index, name)) {
        return NameProblem{"This short name already exists.  All short names must be unique.  "
                           "Please enter a different name.",
                           NameField::ShortName};
    }
    if (TrimSpaces(longName).empty()) {
        return NameProblem{"You must give the location a name!", NameField::LongName};
    }
    return std::nullopt;
}

} // namespace kestrix::locations
