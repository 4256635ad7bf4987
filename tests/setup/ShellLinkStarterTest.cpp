#include "setup/ShellLinkStarter.h"

#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace setup {
namespace {

// A program that writes its name and arguments, one a line, beside itself.
QString WriteArgumentRecorder(const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    test_support::WriteFileBytes(path.toStdString(),
                                 "#!/bin/sh\n"
                                 "out=\"$(dirname \"$0\")/received\"\n"
                                 "printf '%s\\n' \"$0\" \"$@\" > \"$out.part\" && mv \"$out.part\" "
                                 "\"$out\"\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList WaitForLines(const QString& path) {
    for (int waited = 0; !QFileInfo::exists(path) && waited < 10000; waited += 20) {
        QTest::qWait(20);
    }
    return QString::fromStdString(test_support::ReadFileBytes(path.toStdString()))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(ShellLinkStarter, ShellCharactersReachTheProgramAsLiteralText) {
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QString program = WriteArgumentRecorder(dir, QStringLiteral("run;$(touch hit)`id`&&.sh"));
    // A shell would run its commands here, where the started program starts too.
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ShellLinkStarter starter;
    const SetupLink link{QStringLiteral("Run"),
                         {},
                         program,
                         QStringLiteral("plain \"two words\" ;rm $(touch hit) `id` && echo")};

    ASSERT_EQ(starter.Start(link), LinkStart::Started);
    const QStringList expected = {program,
                                  QStringLiteral("plain"),
                                  QStringLiteral("two words"),
                                  QStringLiteral(";rm"),
                                  QStringLiteral("$(touch"),
                                  QStringLiteral("hit)"),
                                  QStringLiteral("`id`"),
                                  QStringLiteral("&&"),
                                  QStringLiteral("echo")};
    EXPECT_EQ(WaitForLines(dir.filePath(QStringLiteral("received"))), expected);
    EXPECT_FALSE(dir.exists(QStringLiteral("hit")));
    QDir::setCurrent(previousFolder);
}

TEST(ShellLinkStarter, AFileThatIsNotThereIsMissing) {
    QTemporaryDir folder;
    ShellLinkStarter starter;
    EXPECT_EQ(
        starter.Start({QStringLiteral("Gone"), {}, folder.filePath(QStringLiteral("gone")), {}}),
        LinkStart::Missing);
}

} // namespace
} // namespace setup
