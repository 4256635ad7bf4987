#pragma once

// The room file (*.room), an INI file the user keeps for the next test of the same room:
//   [room]
//   name=Fill room 2
//   building=Building 3, level 1
//   width=4.0
//   length=2.5
//   [locations]
//   1=0.5,0.5
// Every value is optional but must make sense when given; locations lie within the room.

#include "kestrix/cleanroom/RoomDescription.h"

#include <optional>
#include <string>

namespace kestrix::cleanroom {

inline constexpr const char* kRoomFileEnding = ".room";

struct RoomFileRead {
    std::optional<RoomDescription> room;
    std::string error; // set when room is not: names the file and the line at fault
};

RoomFileRead ReadRoomFile(const std::string& path);

// Replaces the file whole; the error text, empty when written.
std::string WriteRoomFile(const std::string& path, const RoomDescription& room);

} // namespace kestrix::cleanroom
