#pragma once

// The room as the user describes it for the report: its name, its place in the building, its
// size and where each sampling location lies, in metres from the room's corner.

#include <cstdint>
#include <map>
#include <string>

namespace kestrix::cleanroom {

struct PlanPoint {
    double x = 0; // along the width
    double y = 0; // along the length
};

struct RoomDescription {
    std::string name;
    std::string building;
    double width = 0; // metres; 0 when not given
    double length = 0;
    std::map<std::int32_t, PlanPoint> locations;

    // 0 when the width or the length is not given.
    double Area() const { return width * length; }
};

} // namespace kestrix::cleanroom
