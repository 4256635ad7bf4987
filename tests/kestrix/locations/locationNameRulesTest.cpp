#include "kestrix/locations/locationNameRules.h"

#include "kestrix/shell/modConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kestrix::locations {
namespace {

TEST(LocationNameRules, TypedShortNamesAreFiltered) {
    const std::pair<const char*, const char*> cases[] = {
        {"lobby 1", "LOBBY_1"}, {"a.b-c", "ABC"}, {"\xC3\xA9t\xC3\xA9", "T"}, {"", ""}};
    for (const auto& [typed, kept] : cases) {
        EXPECT_EQ(FilterShortNameInput(typed), kept) << typed;
    }
}

TEST(LocationNameRules, TheChecksComeInOrder) {
    QTemporaryDir folder;
    modConfig::ConfigStore store;
    store.LoadConfig(folder.filePath("config.ini").toStdString());
    store.SetShortLocationName(9, "LAB");
    struct Case {
        const char* shortName;
        const char* longName;
        const char* messageStart; // "" when the names may be stored
        NameField field;
    };
    const Case cases[] = {
        {"  ", "", "You must give a name", NameField::ShortName},
        {"TOOLONGNAME", "", "Short names cannot be longer", NameField::ShortName},
        {"LA B", "", "Short names can only have", NameField::ShortName},
        {"LAB", "Lab", "This short name already exists", NameField::ShortName},
        {"LOC005", " ", "You must give the location a name!", NameField::LongName},
        {"LOC005", "Own name again", "", NameField::ShortName},
        {" NEW ", "New room", "", NameField::ShortName},
    };
    for (const Case& c : cases) {
        const auto problem = CheckLocationNames(store, 5, c.shortName, c.longName);
        if (*c.messageStart == '\0') {
            EXPECT_FALSE(problem) << c.shortName;
            continue;
        }
        ASSERT_TRUE(problem) << c.shortName;
        EXPECT_EQ(problem->message.rfind(c.messageStart, 0), 0U) << problem->message;
        EXPECT_EQ(problem->field, c.field) << c.shortName;
    }
}

} // namespace
} // namespace kestrix::locations
