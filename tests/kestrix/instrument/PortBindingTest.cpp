// Port numbers bound from the configuration's [ports] section and the devices the system
// reports, and the port list built over them.

#include "kestrix/instrument/PortBinding.h"

#include "kestrix/ini/IniFile.h"
#include "kestrix/instrument/PortList.h"
#include "tolvex/PortTable.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix {
namespace {

struct ExpectedPort {
    int port;
    std::string path;
    std::string description;
};

void ExpectBound(const std::vector<instrument::BoundPort>& bound,
                 const std::vector<ExpectedPort>& expected) {
    ASSERT_EQ(bound.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bound[i].port, expected[i].port) << i;
        EXPECT_EQ(bound[i].device.path, expected[i].path) << i;
        EXPECT_EQ(bound[i].device.description, expected[i].description) << i;
    }
}

// A file in a fresh temporary folder, removed with it.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/kestrix_ports_XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name, mode_t mode) const {
        const std::string path = path_ + "/" + name;
        ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600));
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string Path() const { return path_; }

private:
    std::string path_;
};

TEST(PortBinding, ConfiguredEntriesNameTheirPortsCaseBlind) {
    const IniFile config = IniFile::FromText("[Ports]\n"
                                             "com3 = /dev/pts/7\n"
                                             "COM12=/dev/serial/by-id/usb-adapter\n"
                                             "COM4=\n"
                                             "COM33=/dev/ttyUSB9\n"
                                             "[driver]\nCOM5=/dev/ttyUSB5\n");
    const std::map<int, std::string> expected{{3, "/dev/pts/7"},
                                              {12, "/dev/serial/by-id/usb-adapter"}};
    EXPECT_EQ(instrument::ConfiguredPorts(config), expected);
}

TEST(PortBinding, ReportedDevicesTakeTheLowestFreeNumbersByDeviceName) {
    const std::vector<instrument::SerialDevice> reported{{"/dev/ttyUSB1", "CP2102 USB to UART"},
                                                         {"/dev/ttyACM0", ""},
                                                         {"/dev/ttyUSB0", "FT232R USB UART"},
                                                         {"/dev/ttyS0", ""}};
    ExpectBound(instrument::BindPorts({{2, "/dev/pts/4"}}, reported),
                {{1, "/dev/ttyACM0", ""},
                 {2, "/dev/pts/4", ""},
                 {3, "/dev/ttyS0", ""},
                 {4, "/dev/ttyUSB0", "FT232R USB UART"},
                 {5, "/dev/ttyUSB1", "CP2102 USB to UART"}});
    // The order the system happens to report them in changes nothing.
    std::vector<instrument::SerialDevice> reversed(reported.rbegin(), reported.rend());
    EXPECT_EQ(instrument::BindPorts({{2, "/dev/pts/4"}}, reversed)[3].device.path, "/dev/ttyUSB0");
}

TEST(PortBinding, DeviceConfiguredThroughALinkIsNotBoundTwice) {
    TempFolder folder;
    const std::string device = folder.File("ttyUSB0", 0600);
    const std::string link = folder.Path() + "/usb-adapter-port0";
    std::filesystem::create_symlink(device, link);
    ExpectBound(
        instrument::BindPorts({{7, link}}, {{device, "FT232R USB UART"}, {"/dev/ttyUSB1", ""}}),
        {{1, "/dev/ttyUSB1", ""}, {7, link, "FT232R USB UART"}});
}

TEST(PortBinding, NoMoreThanThirtyTwoPorts) {
    std::vector<instrument::SerialDevice> reported;
    for (int i = 0; i < 40; ++i) {
        reported.push_back({"/dev/ttyUSB" + std::to_string(100 + i), ""});
    }
    const std::vector<instrument::BoundPort> bound =
        instrument::BindPorts({{32, "/dev/pts/1"}}, reported);
    ASSERT_EQ(bound.size(), 32U);
    EXPECT_EQ(bound[30].device.path, "/dev/ttyUSB130");
    EXPECT_EQ(bound[31].device.path, "/dev/pts/1");
}

TEST(PortList, BoundPortShowsTheSystemsDescription) {
    const int controller = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(controller >= 0 && ::grantpt(controller) == 0 && ::unlockpt(controller) == 0);
    const std::string line = ::ptsname(controller);
    tolvex::SetPortDevice(2, line);
    const instrument::ListChoice list =
        instrument::BuildPortList(2, {{2, {line, "FT232R USB UART"}}});
    ::close(controller);
    ASSERT_GE(list.selected, 0);
    const instrument::ListEntry& entry = list.entries[static_cast<size_t>(list.selected)];
    EXPECT_EQ(entry.text, "COM 2 (" + line + ", FT232R USB UART)");
    EXPECT_TRUE(entry.canOpen);
}

// Lists the ports as a user without privileges would see them and says on stderr what the
// entry of port 4 reads; exits with 0 when it cannot be opened.
[[noreturn]] void ListPortFourUnprivileged(const std::vector<instrument::BoundPort>& bound) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        std::_Exit(2);
    }
    for (const instrument::ListEntry& entry : instrument::BuildPortList(4, bound).entries) {
        if (entry.data == 4) {
            std::fprintf(stderr, "%s\n%s\n", entry.text.c_str(), entry.reason.c_str());
            std::_Exit(entry.canOpen ? 1 : 0);
        }
    }
    std::_Exit(3);
}

// Root may open anything, so the listing runs in a child that has dropped its privileges; the
// stand-in device belongs to the group dialout where the system has one. Joining the group is
// advised only where the group may read and write the device.
TEST(PortListDeathTest, DeviceWithoutPermissionSaysWhoMayOpenIt) {
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0755);
    const std::string device = folder.File("ttyUSB7", 0000);
    if (const group* dialout = ::getgrnam("dialout"); dialout && ::geteuid() == 0) {
        ASSERT_EQ(::chown(device.c_str(), static_cast<uid_t>(-1), dialout->gr_gid), 0);
    }
    struct stat status {};
    ASSERT_EQ(::stat(device.c_str(), &status), 0);
    const group* owningGroup = ::getgrgid(status.st_gid);
    const passwd* user = ::getpwuid(status.st_uid);
    ASSERT_TRUE(owningGroup && user);
    const std::string listed = "COM 4 \\(" + device + "\\) \\(no permission\\)\n.*";
    const std::vector<std::pair<mode_t, std::string>> cases = {
        {0660, listed + "group \"" + std::string(owningGroup->gr_name) + "\".*log in again"},
        {0600, listed + "only " + std::string(user->pw_name) + " can open " + device + "\\."},
    };
    tolvex::SetPortDevice(4, device);
    for (const auto& [mode, advice] : cases) {
        ASSERT_EQ(::chmod(device.c_str(), mode), 0);
        EXPECT_EXIT(ListPortFourUnprivileged({{4, {device, ""}}}), ::testing::ExitedWithCode(0),
                    advice)
            << std::oct << mode;
    }
}

} // namespace
} // namespace kestrix
