#pragma once

// The main window's commands and where the user finds them: each command once, with its caption,
// icon, toolbar tooltip and status-bar description; the menus and the toolbar list commands. The
// window makes one action per command and places it in both.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kestrix::window {

enum class MainCommand {
    SaveTableAs,
    PrintTable,
    PrintPreview,
    OpenRecordSet,
    OpenFromArchive,
    SaveRecordSetAs,
    Sign,
    SaveLocationNames,
    OpenLocationNames,
    Exit,
    DownloadData,
    SetupIaqInstrument,
    SetupMyLocations,
    UploadLocationNames,
    CleanroomClassification,
    IaqReport,
    Instruments,
    AuditTrail,
    ToggleConfigBar,
    ToggleDataChecks,
    ToggleCharts,
    OpenWebsite,
    OpenManual,
    ShowAbout,
};

struct CommandInfo {
    MainCommand command;
    std::string_view key; // "mnuSaveAs": the action's name
    std::string_view caption;
    std::string_view imageKey;  // key in the small image list, "" for none
    std::string_view themeIcon; // freedesktop icon name, "" for none
    bool checkable = false;
    bool iconInMenu = true;            // false: the icon is the toolbar's only
    std::string_view tooltip = {};     // toolbar commands
    std::string_view description = {}; // shown in the status bar
};

// A menu entry is a command or, without one, a separator.
struct Menu {
    std::string_view key;
    std::string_view caption;
    std::span<const std::optional<MainCommand>> entries;
};

std::span<const CommandInfo> MainCommands();
const CommandInfo& Info(MainCommand command);
std::span<const Menu> MainMenus();
std::span<const MainCommand> ToolbarCommands();
// The toolbar's commands grouped as the menus group them: a separator (nullopt) between
// commands of different menus or of different groups of one menu.
std::vector<std::optional<MainCommand>> ToolbarEntries();

// Keys of the small image list, in order.
std::span<const std::string_view> SmallImageKeys();

// Zero-based position of the image key in the small image list (case-sensitive), -1 if none.
std::int16_t GetIconIndexSmall(std::string_view key);

// Where the program's web site is.
inline constexpr std::string_view kWebsiteAddress = "https://www.orvenda.example/kestrix";

} // namespace kestrix::window
