#include "kestrix/charts/chartState.h"

#include "kestrix/ini/IniFile.h"

#include <charconv>
#include <string_view>

namespace kestrix::charts {
namespace {

constexpr std::string_view kSection = "charts";
constexpr std::string_view kAllLocations = "all";
constexpr std::size_t kLongestValue = 65536;
// Series keys are channel tags, which hold neither commas nor blanks.
constexpr char kKeySeparator = ',';

std::optional<std::int32_t> ParseLocation(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::set<std::string> SplitKeys(const std::string& text) {
    std::set<std::string> keys;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(kKeySeparator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            keys.insert(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return keys;
}

std::string JoinKeys(const std::set<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) {
        text += (text.empty() ? "" : std::string(1, kKeySeparator)) + key;
    }
    return text;
}

} // namespace

ChartState LoadChartState(const std::string& configPath) {
    IniFile file(configPath);
    ChartState state;
    if (!file.Load()) {
        return state;
    }
    state.shown = file.GetInt(kSection, "shown", 0) == 1;
    state.logScale = file.GetInt(kSection, "log_scale", 0) == 1;
    state.location = ParseLocation(file.GetString(kSection, "location", kAllLocations, 32));
    state.aqiBands = file.GetInt(kSection, "aqi_bands", 1) != 0;
    state.hiddenSeries = SplitKeys(file.GetString(kSection, "hidden_series", "", kLongestValue));
    return state;
}

bool SaveChartState(const std::string& configPath, const ChartState& state) {
    IniFile file(configPath);
    if (!file.Load()) {
        return false;
    }
    const std::string location =
        state.location ? std::to_string(*state.location) : std::string(kAllLocations);
    return file.SetString(kSection, "shown", state.shown ? "1" : "0") &&
           file.SetString(kSection, "log_scale", state.logScale ? "1" : "0") &&
           file.SetString(kSection, "location", location) &&
           file.SetString(kSection, "hidden_series", JoinKeys(state.hiddenSeries)) &&
           file.SetString(kSection, "aqi_bands", state.aqiBands ? "1" : "0") && file.Save();
}

} // namespace kestrix::charts
