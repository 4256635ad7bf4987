#pragma once

// The location-file commands that the main window's File menu and the My Locations dialog
// share: open a file into My Locations, and save names through the save-names dialog.

#include <memory>

class QWidget;

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class UserDialogs;

// Asks for a location file and stores its names in My Locations; true when names were stored.
bool OpenLocationNamesFrom(QWidget* parent, UserDialogs& dialogs, modConfig::ConfigStore& store);

// Shows a fresh save-names dialog for the record set (may be null) and removes it afterwards.
void SaveLocationNamesAs(QWidget* parent, UserDialogs& dialogs, modConfig::ConfigStore& store,
                         const std::shared_ptr<data::clsDataRecordSet>& recordSet);

} // namespace kestrix::gui
