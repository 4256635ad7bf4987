#include "kestrix/window/mainCommands.h"

#include <algorithm>
#include <array>

namespace kestrix::window {
namespace {

constexpr MenuEntry kSeparator{};

constexpr std::array kFileEntries{
    MenuEntry{"mnuSaveAs", "&Save As...", "save", "document-save-as"},
    MenuEntry{"mnuPrint", "&Print...", "print", "document-print"},
    MenuEntry{"mnuPrintPreview", "Print Pre&view...", "", "document-print-preview"},
    MenuEntry{"mnuOpenRecordSet", "&Open Downloaded Data...", "", "document-open"},
    MenuEntry{"mnuOpenArchive", "Open from &Archive...", "", ""},
    MenuEntry{"mnuSaveRecordSet", "Save &Downloaded Data As...", "", "document-save"},
    kSeparator,
    MenuEntry{"mnuSaveLocations", "S&ave Location Names As...", "", ""},
    MenuEntry{"mnuLoadLocations", "&Open Location Names From...", "", ""},
    kSeparator,
    MenuEntry{"mnuExit", "E&xit", "", "application-exit"},
};

constexpr std::array kToolsEntries{
    MenuEntry{"mnuDownload", "&Download Data...", "download", ""},
    MenuEntry{"mnuSetupIAQ", "Setup &IAQ Instrument...", "setup", ""},
    MenuEntry{"mnuLocations", "Setup My &Locations...", "locations", ""},
    MenuEntry{"mnuUploadLocations", "&Upload Locations...", "uploadlocation", ""},
    kSeparator,
    MenuEntry{"mnuClassification", "Cleanroom &Classification Report...", "", ""},
};

constexpr std::array kViewEntries{
    MenuEntry{"mnuConfigBar", "Show &Configuration Bar", "", "", true},
    MenuEntry{"mnuDataChecks", "Show &Data Checks", "", "", true},
    MenuEntry{"mnuCharts", "Show &Charts", "charts", "", true},
    MenuEntry{"mnuWebsite", "Orvenda &Website", "website", "applications-internet"},
};

constexpr std::array kHelpEntries{
    MenuEntry{"mnuManual", "&Manual...", "help", "help-contents"},
    MenuEntry{"mnuAbout", "&About...", "about", "help-about"},
};

constexpr std::array kMenus{
    Menu{"mnuFile", "&File", kFileEntries},
    Menu{"mnuTools", "&Tools", kToolsEntries},
    Menu{"mnuView", "&View", kViewEntries},
    Menu{"mnuHelp", "&Help", kHelpEntries},
};

constexpr std::array kToolbarButtons{
    ToolbarButton{"save", "Save As", "Saves data table to file.", "save"},
    ToolbarButton{"print", "Print", "Prints data table.", "print"},
    ToolbarButton{"download", "Download Data", "Download data from your particle counter.",
                  "download"},
    ToolbarButton{"locations", "Setup My Locations", "Setup my location names.", "locations"},
    ToolbarButton{"uploadlocations", "Upload Location Names to Instrument",
                  "Upload location names to instrument.", "uploadlocation"},
    ToolbarButton{"config_bar", "Show/hide configuration bar",
                  "Shows/hides the data table's configuration bar.", "config_bar", true},
    ToolbarButton{"charts", "Show/hide charts", "Shows/hides the trend charts beside the table.",
                  "charts", true},
    ToolbarButton{"website", "Go to Orvenda' website", "Go to Orvenda' website.", "website"},
    ToolbarButton{"help", "Help", "View the application's manual.", "help"},
    ToolbarButton{"about", "About", "View the about dialog.", "about"},
};

constexpr std::array<std::string_view, 11> kSmallImageKeys{
    "save",    "print",      "download",       "locations", "help",   "about",
    "website", "config_bar", "uploadlocation", "setup",     "charts",
};

struct KeyedCommand {
    std::string_view key;
    MainCommand command;
};

constexpr std::array kMenuCommands{
    KeyedCommand{"mnuSaveAs", MainCommand::SaveTableAs},
    KeyedCommand{"mnuPrint", MainCommand::PrintTable},
    KeyedCommand{"mnuPrintPreview", MainCommand::PrintPreview},
    KeyedCommand{"mnuOpenRecordSet", MainCommand::OpenRecordSet},
    KeyedCommand{"mnuOpenArchive", MainCommand::OpenFromArchive},
    KeyedCommand{"mnuSaveRecordSet", MainCommand::SaveRecordSetAs},
    KeyedCommand{"mnuSaveLocations", MainCommand::SaveLocationNames},
    KeyedCommand{"mnuLoadLocations", MainCommand::OpenLocationNames},
    KeyedCommand{"mnuExit", MainCommand::Exit},
    KeyedCommand{"mnuDownload", MainCommand::DownloadData},
    KeyedCommand{"mnuSetupIAQ", MainCommand::SetupIaqInstrument},
    KeyedCommand{"mnuLocations", MainCommand::SetupMyLocations},
    KeyedCommand{"mnuUploadLocations", MainCommand::UploadLocationNames},
    KeyedCommand{"mnuClassification", MainCommand::CleanroomClassification},
    KeyedCommand{"mnuConfigBar", MainCommand::ToggleConfigBar},
    KeyedCommand{"mnuDataChecks", MainCommand::ToggleDataChecks},
    KeyedCommand{"mnuCharts", MainCommand::ToggleCharts},
    KeyedCommand{"mnuWebsite", MainCommand::OpenWebsite},
    KeyedCommand{"mnuManual", MainCommand::OpenManual},
    KeyedCommand{"mnuAbout", MainCommand::ShowAbout},
};

// "setupiaq" runs a command although no button carries it.
constexpr std::array kToolbarCommands{
    KeyedCommand{"save", MainCommand::SaveTableAs},
    KeyedCommand{"print", MainCommand::PrintTable},
    KeyedCommand{"download", MainCommand::DownloadData},
    KeyedCommand{"setupiaq", MainCommand::SetupIaqInstrument},
    KeyedCommand{"locations", MainCommand::SetupMyLocations},
    KeyedCommand{"uploadlocations", MainCommand::UploadLocationNames},
    KeyedCommand{"config_bar", MainCommand::ToggleConfigBar},
    KeyedCommand{"charts", MainCommand::ToggleCharts},
    KeyedCommand{"website", MainCommand::OpenWebsite},
    KeyedCommand{"help", MainCommand::OpenManual},
    KeyedCommand{"about", MainCommand::ShowAbout},
};

template <std::size_t N>
std::optional<MainCommand> Find(const std::array<KeyedCommand, N>& table, std::string_view key) {
    const auto found =
        std::find_if(table.begin(), table.end(), [key](const auto& e) { return e.key == key; });
    if (found == table.end()) {
        return std::nullopt;
    }
    return found->command;
}

} // namespace

std::span<const Menu> MainMenus() {
    return kMenus;
}

std::span<const ToolbarButton> ToolbarButtons() {
    return kToolbarButtons;
}

std::span<const std::string_view> SmallImageKeys() {
    return kSmallImageKeys;
}

std::int16_t GetIconIndexSmall(std::string_view key) {
    const auto found = std::find(kSmallImageKeys.begin(), kSmallImageKeys.end(), key);
    return found == kSmallImageKeys.end()
               ? std::int16_t{-1}
               : static_cast<std::int16_t>(found - kSmallImageKeys.begin());
}

std::optional<MainCommand> CommandForMenuKey(std::string_view key) {
    return Find(kMenuCommands, key);
}

std::optional<MainCommand> CommandForToolbarKey(std::string_view key) {
    return Find(kToolbarCommands, key);
}

} // namespace kestrix::window
