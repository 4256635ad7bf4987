#include "kestrix/window/windowTitle.h"

#include "kestrix/data/clsDataRecordSet.h"

#include <cstdio>
#include <filesystem>

namespace kestrix::window {

std::string MainWindowTitle(const data::clsDataRecordSet* recordSet, std::string_view sourceFile) {
    std::string title = "Kestrix";
    if (!recordSet) {
        return title;
    }
    if (!sourceFile.empty()) {
        return title + " - " + std::filesystem::path(sourceFile).filename().string();
    }
    char serial[16];
    std::snprintf(serial, sizeof serial, "%09d", static_cast<int>(recordSet->GetSensorID()));
    return title + " - " + recordSet->GetSensorName() + " " + serial;
}

} // namespace kestrix::window
