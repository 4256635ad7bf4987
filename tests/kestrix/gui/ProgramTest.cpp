// The program kestrix as a user starts it.

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

    first.terminate();
    first.waitForFinished(-1);
}

} // namespace
