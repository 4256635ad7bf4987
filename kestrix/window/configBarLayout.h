#pragma once

// The configuration bar as data: its groups in order, each item with the control it hosts, the
// caption, the setting it stores and the entries of its list. The window's bar is built from
// this, so the layout and the stored values can be checked without a display.

#include "kestrix/window/mainCommands.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::window {

enum class BarControl { CheckBox, Button, List, UnitFrame };

// One labelled unit list inside a unit frame.
struct UnitList {
    std::string_view name; // "cmbUnitsPartNorm"
    std::string_view label;
    std::int32_t setting;
};

struct ListEntry {
    std::string text;
    std::int32_t value; // the item data stored in the setting
    bool operator==(const ListEntry&) const = default;
};

struct BarItem {
    std::string_view key;
    std::string_view control; // the hosted control's name, "chkShowSensorInfo"
    BarControl kind;
    std::string_view caption;           // check box or button text; "" for lists and frames
    std::int32_t setting = -1;          // check boxes and lists
    std::optional<MainCommand> command; // buttons
    bool iaqOnly = false;
    std::span<const UnitList> unitLists; // unit frames
};

struct BarGroup {
    std::string_view key;
    std::string_view title;
    std::span<const BarItem> items;
};

std::span<const BarGroup> ConfigBarGroups();

// The entries of a list control (cmbLocNameSource, cmbPartType or a unit list) by its name;
// empty for an unknown name.
std::vector<ListEntry> ListEntries(std::string_view control);

// Position of the entry holding the value, -1 when none does (a hand-edited setting).
int IndexOfValue(const std::vector<ListEntry>& entries, std::int32_t value);

// The entry a list shows for its setting's value: the particle type list reads any value other
// than 0 as differential; the other lists look the value up.
int ListIndexForSetting(std::string_view control, const std::vector<ListEntry>& entries,
                        std::int32_t value);

} // namespace kestrix::window
