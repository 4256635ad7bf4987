// The program kestrix as a user starts it.

#include "kestrix/gui/main/RunningWindowLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// True once some process holds the lock on the file.
bool LockHeld(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

TEST(KestrixProgram, ASecondInstanceIsRefusedAndTouchesNothing) {
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(KESTRIX_EXECUTABLE, {runtime.filePath("first.ini")});
    ASSERT_TRUE(first.waitForStarted());
    while (!LockHeld(runtime.filePath("kestrix.lock")) && first.state() == QProcess::Running) {
        QThread::msleep(20);
    }
    ASSERT_EQ(first.state(), QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(KESTRIX_EXECUTABLE, {runtime.filePath("second.ini")});
    ASSERT_TRUE(second.waitForFinished(-1));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardError().trimmed().split('\n').last(),
              "Kestrix is already running!");
    EXPECT_FALSE(QFileInfo::exists(runtime.filePath("second.ini")));
    // What the second start asked of the first: to bring its window forward.
    EXPECT_TRUE(kestrix::gui::RunningWindowLink::AskToRaise(runtime.filePath("kestrix.socket")));

    first.terminate();
    first.waitForFinished(-1);
}

TEST(KestrixProgram, HelpVersionAndUnknownOptionsNeedNoDisplayAndWriteNothing) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* output; // the start of stdout, or of stderr for an error
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: "},
        {{"-h"}, 0, "Usage: "},
        {{"--version"}, 0, "kestrix " KESTRIX_VERSION_TEXT "\n"},
        {{"--versoin"}, 2, "kestrix: Unknown option 'versoin'."},
        {{"-x", "a.ini"}, 2, "kestrix: Unknown option 'x'."},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("XDG_CONFIG_HOME", folder.path());
        environment.insert("XDG_RUNTIME_DIR", folder.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(KESTRIX_EXECUTABLE, c.arguments);
        ASSERT_TRUE(program.waitForFinished(-1));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit)
            << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        const QByteArray output =
            c.exitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError();
        EXPECT_TRUE(output.startsWith(c.output)) << output.toStdString();
        // Neither a configuration file named after the option nor a configuration folder.
        EXPECT_TRUE(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            << c.arguments.join(' ').toStdString();
    }
}

TEST(KestrixProgram, ABadArchiveSettingIsRefusedAtStartNamingTheKey) {
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QFile config(runtime.filePath("config.ini"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("[archive]\nenabled=maybe\n");
    config.close();

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(KESTRIX_EXECUTABLE, {config.fileName()});
    ASSERT_TRUE(program.waitForFinished(-1));
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardError().contains("[archive] enabled=maybe"));
}

} // namespace
