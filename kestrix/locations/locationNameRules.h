#pragma once

// The rules a user's location names must meet before they are stored: what the short-name box
// lets through while typing, and the checks of the edit dialog's OK, in their order.

#include <optional>
#include <string>

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::locations {

// Typed or pasted text as the short-name box keeps it: a-z become A-Z, a space becomes an
// underscore, anything but A-Z, 0-9 and underscore is dropped.
std::string FilterShortNameInput(const std::string& text);

enum class NameField { ShortName, LongName };

struct NameProblem {
    std::string message;
    NameField field; // the box that gets the focus
};

// The first problem with the names for the index, none when they may be stored.
std::optional<NameProblem> CheckLocationNames(const modConfig::ConfigStore& store, int index,
                                              const std::string& shortName,
                                              const std::string& longName);

} // namespace kestrix::locations
