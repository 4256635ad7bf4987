#include "kestrix/window/windowState.h"

#include "kestrix/ini/IniFile.h"

#include <string_view>

namespace kestrix::window {
namespace {

constexpr std::string_view kSection = "window";
constexpr int kMissing = -1;

} // namespace

std::optional<WindowState> LoadWindowState(const std::string& configPath) {
    IniFile file(configPath);
    if (!file.Load()) {
        return std::nullopt;
    }
    const auto read = [&file](std::string_view key) {
        return file.GetInt(kSection, key, kMissing);
    };
    WindowState state{
        read("x"),        read("y"), read("width"), read("height"), read("maximized") == 1,
        read("bar_width")};
    // Integers here are unsigned, so a negative position reads as missing: such windows are
    // placed by the desktop instead.
    if (state.x == kMissing || state.y == kMissing || state.width <= 0 || state.height <= 0) {
        return std::nullopt;
    }
    return state;
}

bool SaveWindowState(const std::string& configPath, const WindowState& state) {
    IniFile file(configPath);
    if (!file.Load()) {
        return false;
    }
    const auto write = [&file](std::string_view key, int value) {
        return file.SetString(kSection, key, std::to_string(value));
    };
    return write("x", state.x) && write("y", state.y) && write("width", state.width) &&
           write("height", state.height) && write("maximized", state.maximized ? 1 : 0) &&
           write("bar_width", state.barWidth) && file.Save();
}

} // namespace kestrix::window
