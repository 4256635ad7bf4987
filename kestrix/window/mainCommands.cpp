#include "kestrix/window/mainCommands.h"

#include <algorithm>
#include <array>

namespace kestrix::window {
namespace {

using enum MainCommand;

constexpr std::array kCommands{
    CommandInfo{SaveTableAs, "mnuSaveAs", "&Save As...", "save", "document-save-as", false, true,
                "Save As", "Saves data table to file."},
    CommandInfo{PrintTable, "mnuPrint", "&Print...", "print", "document-print", false, true,
                "Print", "Prints data table."},
    CommandInfo{PrintPreview, "mnuPrintPreview", "Print Pre&view...", "", "document-print-preview"},
    CommandInfo{OpenRecordSet, "mnuOpenRecordSet", "Ope&n Downloaded Data...", "", "document-open"},
    CommandInfo{OpenFromArchive, "mnuOpenArchive", "Open from A&rchive...", "", ""},
    CommandInfo{SaveRecordSetAs, "mnuSaveRecordSet", "Save &Downloaded Data As...", "",
                "document-save"},
    CommandInfo{Sign, "mnuSign", "S&ign...", "", ""},
    CommandInfo{SaveLocationNames, "mnuSaveLocations", "S&ave Location Names As...", "", ""},
    CommandInfo{OpenLocationNames, "mnuLoadLocations", "&Open Location Names From...", "", ""},
    CommandInfo{Exit, "mnuExit", "E&xit", "", "application-exit"},
    CommandInfo{DownloadData, "mnuDownload", "&Download Data...", "download", "", false, true,
                "Download Data", "Download data from your particle counter."},
    CommandInfo{SetupIaqInstrument, "mnuSetupIAQ", "Setup &IAQ Instrument...", "setup", ""},
    CommandInfo{SetupMyLocations, "mnuLocations", "Setup My &Locations...", "locations", "", false,
                true, "Setup My Locations", "Setup my location names."},
    CommandInfo{UploadLocationNames, "mnuUploadLocations", "&Upload Locations...", "uploadlocation",
                "", false, true, "Upload Location Names to Instrument",
                "Upload location names to instrument."},
    CommandInfo{CleanroomClassification, "mnuClassification", "Cleanroom &Classification Report...",
                "", ""},
    CommandInfo{IaqReport, "mnuIaqReport", "IAQ &Report...", "", ""},
    CommandInfo{Instruments, "mnuInstruments", "I&nstruments...", "", ""},
    CommandInfo{AuditTrail, "mnuAuditTrail", "&Audit Trail...", "", ""},
    CommandInfo{ToggleConfigBar, "mnuConfigBar", "Show &Configuration Bar", "config_bar", "", true,
                false, "Show/hide configuration bar",
                "Shows/hides the data table's configuration bar."},
    CommandInfo{ToggleDataChecks, "mnuDataChecks", "Show &Data Checks", "", "", true},
    CommandInfo{ToggleCharts, "mnuCharts", "Show C&harts", "charts", "", true, true,
                "Show/hide charts", "Shows/hides the trend charts beside the table."},
    CommandInfo{OpenWebsite, "mnuWebsite", "Orvenda &Website", "website", "applications-internet",
                false, true, "Go to Orvenda' website", "Go to Orvenda' website."},
    CommandInfo{OpenManual, "mnuManual", "&Manual...", "help", "help-contents", false, true, "Help",
                "View the application's manual."},
    CommandInfo{ShowAbout, "mnuAbout", "&About...", "about", "help-about", false, true, "About",
                "View the about dialog."},
};

constexpr std::optional<MainCommand> kSeparator = std::nullopt;

constexpr std::array<std::optional<MainCommand>, 12> kFileEntries{
    SaveTableAs, PrintTable, PrintPreview,      OpenRecordSet,     OpenFromArchive, SaveRecordSetAs,
    Sign,        kSeparator, SaveLocationNames, OpenLocationNames, kSeparator,      Exit,
};

constexpr std::array<std::optional<MainCommand>, 10> kToolsEntries{
    DownloadData,        SetupIaqInstrument, SetupMyLocations,
    UploadLocationNames, kSeparator,         CleanroomClassification,
    IaqReport,           kSeparator,         Instruments,
    AuditTrail,
};

constexpr std::array<std::optional<MainCommand>, 4> kViewEntries{
    ToggleConfigBar,
    ToggleDataChecks,
    ToggleCharts,
    OpenWebsite,
};

constexpr std::array<std::optional<MainCommand>, 2> kHelpEntries{OpenManual, ShowAbout};

constexpr std::array kMenus{
    Menu{"mnuFile", "&File", kFileEntries},
    Menu{"mnuTools", "&Tools", kToolsEntries},
    Menu{"mnuView", "&View", kViewEntries},
    Menu{"mnuHelp", "&Help", kHelpEntries},
};

constexpr std::array kToolbar{
    SaveTableAs,     PrintTable,   DownloadData, SetupMyLocations, UploadLocationNames,
    ToggleConfigBar, ToggleCharts, OpenWebsite,  OpenManual,       ShowAbout,
};

constexpr std::array<std::string_view, 11> kSmallImageKeys{
    "save",    "print",      "download",       "locations", "help",   "about",
    "website", "config_bar", "uploadlocation", "setup",     "charts",
};

// Menu entries between separators, and menus, numbered in order; the command's number.
int MenuGroup(MainCommand command) {
    int group = 0;
    for (const Menu& menu : kMenus) {
        for (const std::optional<MainCommand>& entry : menu.entries) {
            if (!entry) {
                ++group;
            } else if (*entry == command) {
                return group;
            }
        }
        ++group;
    }
    return -1;
}

} // namespace

std::span<const CommandInfo> MainCommands() {
    return kCommands;
}

const CommandInfo& Info(MainCommand command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandInfo& info) { return info.command == command; });
}

std::span<const Menu> MainMenus() {
    return kMenus;
}

std::span<const MainCommand> ToolbarCommands() {
    return kToolbar;
}

std::vector<std::optional<MainCommand>> ToolbarEntries() {
    std::vector<std::optional<MainCommand>> entries;
    int previousGroup = -1;
    for (const MainCommand command : kToolbar) {
        const int group = MenuGroup(command);
        if (previousGroup >= 0 && group != previousGroup) {
            entries.push_back(kSeparator);
        }
        entries.push_back(command);
        previousGroup = group;
    }
    return entries;
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

} // namespace kestrix::window
