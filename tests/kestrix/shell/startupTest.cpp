#include "kestrix/shell/startup.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrix::startup {
namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one test and restores it after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) {
            previous_ = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(previous_ ? previous_->c_str() : nullptr); }

private:
    void Apply(const char* value) const {
        if (value != nullptr) {
            ::setenv(name_, value, 1);
        } else {
            ::unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> previous_;
};

// ---- Configuration path ----

TEST(ConfigPath, ArgumentsAreJoinedVerbatimWithSingleSpaces) {
    EXPECT_EQ(CommandLineText({}), "");
    EXPECT_EQ(CommandLineText({"\"/home/a/my", "config.ini\"", ""}), "\"/home/a/my config.ini\" ");
}

TEST(ConfigPath, CommandLineIsThePathQuotesAndAll) {
    EXPECT_EQ(ConfigFilePath("\"/x/y.ini\"", "/data"), "\"/x/y.ini\"");
    EXPECT_EQ(ConfigFilePath(" a b ", "/data"), " a b ");
}

TEST(ConfigPath, EmptyCommandLineMeansConfigIniInTheDataFolder) {
    EXPECT_EQ(ConfigFilePath("", "/data/Orvenda/Kestrix"), "/data/Orvenda/Kestrix/config.ini");
}

TEST(ConfigPath, DefaultDataFolderFollowsXdgConfigHome) {
    const ScopedEnvironment configHome("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(ConfigFilePath(""), "/cfg/Orvenda/Kestrix/config.ini");
    EXPECT_EQ(ConfigFilePath("/x.ini"), "/x.ini");
}

// ---- Previous instance ----

class InstanceLockTest : public ::testing::Test {
protected:
    std::string LockPath() const {
        return (fs::path(dir_.path().toStdString()) / "k.lock").string();
    }

    QTemporaryDir dir_;
};

TEST_F(InstanceLockTest, SecondLockOnTheSameFileSeesTheFirst) {
    InstanceLock first(LockPath());
    EXPECT_FALSE(first.AnotherInstanceRunning());
    {
        InstanceLock second(LockPath());
        EXPECT_TRUE(second.AnotherInstanceRunning());
    }
    EXPECT_FALSE(first.AnotherInstanceRunning());
}

TEST_F(InstanceLockTest, LockIsFreeAgainOnceTheHolderIsGone) {
    { InstanceLock first(LockPath()); }
    InstanceLock again(LockPath());
    EXPECT_FALSE(again.AnotherInstanceRunning());
}

TEST_F(InstanceLockTest, LockHeldByAnotherProcessIsSeenAndReleasedWhenItExits) {
    int ready[2];
    int quit[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(quit), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(quit[1]); // so the parent's close ends the wait below
        InstanceLock holder(LockPath());
        const char state = holder.AnotherInstanceRunning() ? 'n' : 'y';
        char ignored;
        (void)!::write(ready[1], &state, 1);
        (void)!::read(quit[0], &ignored, 1);
        ::_exit(0);
    }
    ::close(quit[0]);
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'y');
    EXPECT_TRUE(InstanceLock(LockPath()).AnotherInstanceRunning());

    ::close(quit[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_FALSE(InstanceLock(LockPath()).AnotherInstanceRunning());
}

TEST_F(InstanceLockTest, LockFileThatCannotBeOpenedLetsTheProgramRun) {
    const InstanceLock lock(dir_.path().toStdString() + "/absent/k.lock");
    EXPECT_FALSE(lock.AnotherInstanceRunning());
}

TEST(InstanceLockPath, IsInTheRuntimeFolder) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/run/user/4242");
    EXPECT_EQ(InstanceLock::DefaultLockFilePath(), "/run/user/4242/kestrix.lock");
}

TEST(InstanceLockPath, WithoutRuntimeFolderIsInAPrivateFolderInTmp) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", nullptr);
    const std::string folder = "/tmp/kestrix-" + std::to_string(::getuid());
    EXPECT_EQ(InstanceLock::DefaultLockFilePath(), folder + "/kestrix.lock");
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

} // namespace
} // namespace kestrix::startup
