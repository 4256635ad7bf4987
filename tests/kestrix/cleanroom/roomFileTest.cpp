#include "kestrix/cleanroom/roomFile.h"

#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::cleanroom {
namespace {

using ::testing::HasSubstr;

class RoomFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    std::string Written(const std::string& text) const {
        const std::string path = Path();
        std::ofstream(path) << text;
        return path;
    }

    std::string Path() const { return folder_.filePath("fill.room").toStdString(); }

    QTemporaryDir folder_;
};

TEST_F(RoomFile, WhatIsWrittenIsReadBack) {
    RoomDescription room;
    room.name = "Fill room 2";
    room.building = "Building 3, level 1";
    room.width = 4.0;
    room.length = 2.5;
    room.locations = {{1, {0.5, 0.5}}, {2, {3.5, 0.5}}, {12, {0.1, 2.3}}};
    ASSERT_EQ(WriteRoomFile(Path(), room), "");
    const RoomFileRead read = ReadRoomFile(Path());
    ASSERT_TRUE(read.room) << read.error;
    EXPECT_EQ(read.room->name, room.name);
    EXPECT_EQ(read.room->building, room.building);
    EXPECT_EQ(read.room->width, room.width);
    EXPECT_EQ(read.room->length, room.length);
    ASSERT_EQ(read.room->locations.size(), 3U);
    EXPECT_EQ(read.room->locations.at(12).x, 0.1);
    EXPECT_EQ(read.room->locations.at(12).y, 2.3);
    EXPECT_EQ(read.room->Area(), 10.0);
}

TEST_F(RoomFile, ABadFileIsRefusedNamingWhatIsWrong) {
    struct Case {
        const char* text;
        std::string said;
    };
    const Case cases[] = {
        {"name=Fill room 2\n", "has no [room] section"},
        {"[room]\nwidth=four\n", "says width=four, which is not a length in metres above 0"},
        {"[room]\nlength=0\n", "says length=0, which is not a length in metres above 0"},
        {"[room]\nwidth=inf\n", "says width=inf"},
        {"[room]\n[locations]\nA=1,1\n", "[locations] A=1,1, but a location number is 0 to 999"},
        {"[room]\n[locations]\n1000=1,1\n", "a location number is 0 to 999"},
        {"[room]\n[locations]\n1=1\n", "[locations] 1=1, which is not x,y in metres"},
        {"[room]\n[locations]\n1=-1,0.5\n", "[locations] 1=-1,0.5, which is not x,y"},
        {"[room]\nwidth=4\nlength=2.5\n[locations]\n2=4.5,1\n",
         "[locations] 2=4.5,1, which lies outside the room of 4 x 2.5 m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RoomFileRead read = ReadRoomFile(Written(c.text));
        EXPECT_FALSE(read.room);
        EXPECT_THAT(read.error, HasSubstr("The room file \"" + Path() + "\" "));
        EXPECT_THAT(read.error, HasSubstr(c.said));
    }
    EXPECT_THAT(ReadRoomFile(folder_.filePath("missing.room").toStdString()).error,
                HasSubstr("missing.room\" cannot be read"));
    EXPECT_THAT(ReadRoomFile(folder_.path().toStdString()).error, HasSubstr("cannot be read"));
}

TEST_F(RoomFile, AFileThatCannotBeWrittenIsSaid) {
    const std::string path = folder_.filePath("no/such/folder/fill.room").toStdString();
    EXPECT_THAT(WriteRoomFile(path, {}), HasSubstr("cannot be written"));
}

} // namespace
} // namespace kestrix::cleanroom
