#pragma once

// The main window's commands and where the user finds them: the menu entries with their
// captions, the toolbar buttons with their tooltips and status-bar descriptions, and the keys
// of the small image list. The window builds its menus and toolbar from these tables and
// dispatches every click by key.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kestrix::window {

enum class MainCommand {
    SaveTableAs,
    PrintTable,
    PrintPreview,
    OpenRecordSet,
    OpenFromArchive,
    SaveRecordSetAs,
    SaveLocationNames,
    OpenLocationNames,
    Exit,
    DownloadData,
    SetupIaqInstrument,
    SetupMyLocations,
    UploadLocationNames,
    CleanroomClassification,
    ToggleConfigBar,
    ToggleDataChecks,
    ToggleCharts,
    OpenWebsite,
    OpenManual,
    ShowAbout,
};

// One menu entry; an entry without a key is a separator.
struct MenuEntry {
    std::string_view key; // "mnuSaveAs"; the name a click is dispatched by
    std::string_view caption;
    std::string_view imageKey;  // key in the small image list, "" for none
    std::string_view themeIcon; // freedesktop icon name, "" for none
    bool checkable = false;
    bool IsSeparator() const { return key.empty(); }
};

struct Menu {
    std::string_view key;
    std::string_view caption;
    std::span<const MenuEntry> entries;
};

struct ToolbarButton {
    std::string_view key;
    std::string_view tooltip;
    std::string_view description;
    std::string_view imageKey;
    bool checkable = false;
};

std::span<const Menu> MainMenus();
std::span<const ToolbarButton> ToolbarButtons();

// Keys of the small image list, in order.
std::span<const std::string_view> SmallImageKeys();

// Zero-based position of the image key in the small image list (case-sensitive), -1 if none.
std::int16_t GetIconIndexSmall(std::string_view key);

// The command a menu entry key or toolbar key runs; none for a key that runs nothing.
std::optional<MainCommand> CommandForMenuKey(std::string_view key);
std::optional<MainCommand> CommandForToolbarKey(std::string_view key);

// Where the program's web site is.
inline constexpr std::string_view kWebsiteAddress = "https://www.orvenda.example/kestrix";

} // namespace kestrix::window
