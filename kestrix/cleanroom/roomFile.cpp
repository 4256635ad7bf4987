#include "kestrix/cleanroom/roomFile.h"

#include "kestrix/ini/IniFile.h"

#include <QString>
#include <QStringList>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>

namespace kestrix::cleanroom {

namespace {

constexpr const char* kRoomSection = "room";
constexpr const char* kLocationsSection = "locations";
constexpr std::size_t kTextMaxLength = 256;
constexpr std::int32_t kLastLocation = 999;
// A room larger than this is a typing error (a kilometre a side).
constexpr double kLongestSide = 1000.0;

std::optional<double> Metres(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0 && value <= kLongestSide
               ? std::optional<double>(value)
               : std::nullopt;
}

std::string MetresText(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

class RoomReader {
public:
    explicit RoomReader(const std::string& path) : path_(path), file_(path) {}

    RoomFileRead Run() {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path_, error) || !file_.Load()) {
            return Fail("cannot be read");
        }
        if (!file_.HasSection(kRoomSection)) {
            return Fail("has no [room] section");
        }
        room_.name = file_.GetString(kRoomSection, "name", "", kTextMaxLength);
        room_.building = file_.GetString(kRoomSection, "building", "", kTextMaxLength);
        if (!ReadSide("width", room_.width) || !ReadSide("length", room_.length)) {
            return Fail(problem_);
        }
        for (const std::string& key : file_.Keys(kLocationsSection)) {
            if (!ReadLocation(key)) {
                return Fail(problem_);
            }
        }
        return {std::move(room_), {}};
    }

private:
    RoomFileRead Fail(const std::string& why) const {
        return {std::nullopt, "The room file \"" + path_ + "\" " + why + "."};
    }

    std::string Value(const char* section, const std::string& key) const {
        return file_.GetString(section, key, "", kTextMaxLength);
    }

    bool ReadSide(const char* key, double& side) {
        const std::string text = Value(kRoomSection, key);
        if (text.empty()) {
            return true;
        }
        const std::optional<double> metres = Metres(QString::fromStdString(text));
        if (!metres || *metres == 0) {
            problem_ = "says " + std::string(key) + "=" + text +
                       ", which is not a length in metres above 0";
            return false;
        }
        side = *metres;
        return true;
    }

    bool ReadLocation(const std::string& key) {
        const std::string text = Value(kLocationsSection, key);
        const std::string line = "[locations] " + key + "=" + text;
        bool numbered = false;
        const int location = QString::fromStdString(key).toInt(&numbered);
        if (!numbered || location < 0 || location > kLastLocation) {
            problem_ = "says " + line + ", but a location number is 0 to 999";
            return false;
        }
        const QStringList parts = QString::fromStdString(text).split(QLatin1Char(','));
        const std::optional<double> x = parts.size() == 2 ? Metres(parts[0]) : std::nullopt;
        const std::optional<double> y = parts.size() == 2 ? Metres(parts[1]) : std::nullopt;
        if (!x || !y) {
            problem_ = "says " + line + ", which is not x,y in metres from the room's corner";
            return false;
        }
        if ((room_.width > 0 && *x > room_.width) || (room_.length > 0 && *y > room_.length)) {
            problem_ = "says " + line + ", which lies outside the room of " +
                       MetresText(room_.width) + " x " + MetresText(room_.length) + " m";
            return false;
        }
        room_.locations[location] = {*x, *y};
        return true;
    }

    std::string path_;
    IniFile file_;
    RoomDescription room_;
    std::string problem_;
};

} // namespace

RoomFileRead ReadRoomFile(const std::string& path) {
    return RoomReader(path).Run();
}

std::string WriteRoomFile(const std::string& path, const RoomDescription& room) {
    IniFile file(path);
    file.SetString(kRoomSection, "name", room.name);
    file.SetString(kRoomSection, "building", room.building);
    if (room.width > 0) {
        file.SetString(kRoomSection, "width", MetresText(room.width));
    }
    if (room.length > 0) {
        file.SetString(kRoomSection, "length", MetresText(room.length));
    }
    for (const auto& [location, point] : room.locations) {
        file.SetString(kLocationsSection, std::to_string(location),
                       MetresText(point.x) + "," + MetresText(point.y));
    }
    std::string error;
    return file.Save(&error) ? std::string()
                             : "The room file \"" + path + "\" cannot be written: " + error;
}

} // namespace kestrix::cleanroom
