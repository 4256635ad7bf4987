#include "kestrix/cleanroom/testingParty.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kestrix::cleanroom {
namespace {

TEST(TestingParty, IsKeptBesideTheOtherSettingsAndReadBack) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = folder.filePath("kestrix.ini").toStdString();
    std::ofstream(path) << "[driver]\ncom_port=3\n[report]\ntester=old\n";
    EXPECT_EQ(ReadTestingParty(path).tester, "old");

    ASSERT_EQ(SaveTestingParty(path, {"Clean Air Services", "1 High Street", "A. Tester"}), "");
    const TestingParty party = ReadTestingParty(path);
    EXPECT_EQ(party.organisation, "Clean Air Services");
    EXPECT_EQ(party.address, "1 High Street");
    EXPECT_EQ(party.tester, "A. Tester");
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    EXPECT_EQ(text.str().rfind("[driver]\ncom_port=3\n[report]\ntester=A. Tester\n", 0), 0U);
}

} // namespace
} // namespace kestrix::cleanroom
