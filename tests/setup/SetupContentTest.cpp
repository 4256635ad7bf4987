#include "setup/SetupContent.h"

#include "SetupTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(SetupContent, ValuesAreCutTo255Characters) {
    QTemporaryDir folder;
    const SetupLinks links =
        testing::ContentOf(folder, "Link2Text=" + std::string(300, 'x') +
                                       "\nLink2FileArgs=" + std::string(300, 'y') + "\n");
    EXPECT_EQ(links[1].text, QString(255, QLatin1Char('x')));
    EXPECT_EQ(links[1].fileArgs, QString(255, QLatin1Char('y')));
}

TEST(SetupContent, PathsAreTakenFromTheFilesFolder) {
    QTemporaryDir folder;
    const SetupLinks links = testing::ContentOf(folder, "Link1Icon=icons/a.svg\n"
                                                        "Link1File=../tools/run.sh\n"
                                                        "Link2File=/usr/bin/env\n"
                                                        "Link3File=https://example.org/x\n"
                                                        "Link4File=mailto:help@example.org\n");
    const QDir dir(folder.path());
    EXPECT_EQ(links[0].icon, dir.filePath(QStringLiteral("icons/a.svg")));
    EXPECT_EQ(links[0].file, QDir::cleanPath(dir.filePath(QStringLiteral("../tools/run.sh"))));
    EXPECT_EQ(links[1].file, QStringLiteral("/usr/bin/env"));
    EXPECT_EQ(links[2].file, QStringLiteral("https://example.org/x"));
    EXPECT_EQ(links[3].file, QStringLiteral("mailto:help@example.org"));
    EXPECT_TRUE(links[4].file.isEmpty());
}

TEST(SetupContent, CurrentFolderFirstThenTheProgramsFolder) {
    struct Case {
        bool inCurrent;
        bool inProgram;
        const char* expected; // "current", "program" or ""
    };
    const Case cases[] = {{true, true, "current"},
                          {false, true, "program"},
                          {true, false, "current"},
                          {false, false, ""}};
    for (const Case& c : cases) {
        QTemporaryDir current;
        QTemporaryDir program;
        if (c.inCurrent) {
            test_support::WriteFileBytes(current.filePath(kSetupFileName).toStdString(), "");
        }
        if (c.inProgram) {
            test_support::WriteFileBytes(program.filePath(kSetupFileName).toStdString(), "");
        }
        const QString found = FindSetupFile(current.path(), program.path());
        const std::string expected = c.expected;
        const QString expectedPath = expected.empty()        ? QString()
                                     : expected == "current" ? current.filePath(kSetupFileName)
                                                             : program.filePath(kSetupFileName);
        EXPECT_EQ(found, expectedPath) << c.inCurrent << c.inProgram;
    }
}

} // namespace
} // namespace setup
