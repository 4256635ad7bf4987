#pragma once

// Where the main window was and how wide its configuration bar was, kept in the configuration
// file's [window] section so that one file holds the program's whole state.

#include <optional>
#include <string>

namespace kestrix::window {

struct WindowState {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    int barWidth = 0; // the configuration bar's width in the splitter, pixels
    bool operator==(const WindowState&) const = default;
};

// None when the file has no usable [window] section (a first run or a hand-edited file).
std::optional<WindowState> LoadWindowState(const std::string& configPath);

// Writes the section into the file, keeping every other line; false when it cannot be written.
bool SaveWindowState(const std::string& configPath, const WindowState& state);

} // namespace kestrix::window
