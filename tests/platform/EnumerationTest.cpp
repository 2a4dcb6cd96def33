// The device list: USB-serial ttys in a fake sysfs tree and simulated Testers in a runtime folder.
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "Ftd2xxDevice.h"
#include "PtyPair.h"
#include "RuntimeFolder.h"
#include "SimulatedDeviceRegistry.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

// A tty as sysfs shows it: class/tty/<tty> -> its folder, below USB device
// <port>'s interface <port>:1.0 (ttyUSB one level deeper), or virtual.
void AddTty(const fs::path& sysfs, const std::string& tty, const std::string& usbPort = "",
            const char* product = nullptr)
{
    const fs::path usbDevice = sysfs / "devices/pci0000:00/0000:00:14.0/usb1" / usbPort;
    const fs::path interface = usbDevice / (usbPort + ":1.0");
    const fs::path bound = tty.starts_with("ttyACM") ? interface : interface / tty;
    const fs::path ttyFolder = usbPort.empty() ? sysfs / "devices/virtual/tty" / tty : bound / "tty" / tty;
    fs::create_directories(ttyFolder);
    fs::create_directories(sysfs / "class/tty");
    fs::create_directory_symlink(fs::relative(ttyFolder, sysfs / "class/tty"), sysfs / "class/tty" / tty);
    if (usbPort.empty())
        return;
    WriteFileBytes(usbDevice / "idVendor", "0403\n");
    if (product != nullptr)
        WriteFileBytes(usbDevice / "product", product);
    fs::create_directory_symlink(fs::relative(bound, ttyFolder), ttyFolder / "device");
}

using Entries = std::vector<std::string>;

// The device list, an entry as "path=description".
Entries ListOf(CFtd2xxDevice& device)
{
    uint32_t count = 0;
    EXPECT_TRUE(device.CreateDeviceInfoList(count));
    Entries list;
    for (uint32_t i = 0; i < count; ++i) {
        std::string description;
        EXPECT_TRUE(device.GetDeviceDescription(i, description));
        list.push_back(device.DevicePath(i) + "=" + description);
    }
    std::string ignored;
    EXPECT_FALSE(device.GetDeviceDescription(count, ignored));
    return list;
}

constexpr long kNoSuchPid = 4194304; // above any pid the kernel hands out

void WriteEntry(const fs::path& folder, const std::string& name, long pid, const std::string& path)
{
    WriteFileBytes(folder / name,
                   "pid=" + std::to_string(pid) + "\npath=" + path + "\ndescription=TAMRIX TESTER\n");
}

class EnumerationTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_pty.Ok()); }

    CTempFolder m_root;
    const fs::path m_sysfs = m_root / "sys";
    const fs::path m_runtime = m_root / "run";
    CPtyPair m_pty;
};

TEST_F(EnumerationTest, UsbProductStringsBecomeDescriptionsInDriverOrder)
{
    AddTty(m_sysfs, "ttyUSB0", "1-1", "TAMRIX TESTER\n");
    AddTty(m_sysfs, "ttyUSB1", "1-2", "TAMRIX TESTER \n");
    AddTty(m_sysfs, "ttyACM0", "1-3");
    AddTty(m_sysfs, "ttyUSB10", "1-4", "tamrix tester\n");
    AddTty(m_sysfs, "ttyUSB2", "1-5", "FT232R USB UART\n");
    // Only sysfs's own newline is dropped: anything else makes the string
    // longer than the Tester's and it must not match.
    AddTty(m_sysfs, "ttyUSB3", "1-6", "TAMRIX TESTER\r\n");
    AddTty(m_sysfs, "ttyUSB4", "1-7", "TAMRIX TESTER\nB\n");
    for (const char* plain : {"ttyS0", "tty1", "ttyUSBx"})
        AddTty(m_sysfs, plain);

    CFtd2xxDevice device(m_sysfs.string(), m_runtime.string());
    EXPECT_EQ(ListOf(device),
              (Entries{"/dev/ttyACM0=", "/dev/ttyUSB0=TAMRIX TESTER", "/dev/ttyUSB1=TAMRIX TESTER ",
                       "/dev/ttyUSB2=FT232R USB UART", "/dev/ttyUSB3=TAMRIX TESTER\r",
                       "/dev/ttyUSB4=TAMRIX TESTER\nB", "/dev/ttyUSB10=tamrix tester"}));

    // Missing trees give an empty list, not a failure.
    CFtd2xxDevice nowhere((m_root / "nothing").string(), (m_root / "none").string());
    EXPECT_TRUE(ListOf(nowhere).empty());
    EXPECT_FALSE(nowhere.Open(0));
}

TEST_F(EnumerationTest, SimulatedEntriesArePrivateFollowRealTtysAndOutliveAProgramKilledWhileConnected)
{
    AddTty(m_sysfs, "ttyUSB0", "1-1", "TAMRIX TESTER\n");
    const CSimulatedDeviceRegistry registry(m_runtime.string());
    std::string error;
    ASSERT_TRUE(registry.CreateFolder(error)) << error;
    // Names and descriptions that would break the entry are refused.
    for (const char* name : {"../escape", ".hidden", ""})
        EXPECT_FALSE(registry.Register(name, m_pty.SlavePath(), "TAMRIX TESTER", error)) << name;
    EXPECT_FALSE(registry.Register("sim", m_pty.SlavePath(), "TAMRIX\nTESTER", error));
    EXPECT_TRUE(registry.List().empty());
    ASSERT_TRUE(registry.Register("sim-b", m_pty.SlavePath(), "TAMRIX TESTER", error)) << error;
    ASSERT_TRUE(registry.Register("sim-a", m_pty.SlavePath(), "OTHER", error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat((m_runtime / "sim-b").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    CFtd2xxDevice device(m_sysfs.string(), m_runtime.string());
    EXPECT_EQ(ListOf(device), (Entries{"/dev/ttyUSB0=TAMRIX TESTER", m_pty.SlavePath() + "=OTHER",
                                       m_pty.SlavePath() + "=TAMRIX TESTER"}));
    registry.Unregister("sim-a");
    ASSERT_EQ(ListOf(device), (Entries{"/dev/ttyUSB0=TAMRIX TESTER", m_pty.SlavePath() + "=TAMRIX TESTER"}));

    // The simulator keeps the pty alive, so an exclusive flag set by a
    // program that never got to clear it would lock out every later start.
    const pid_t child = ::fork();
    if (child == 0) {
        uint32_t written = 0;
        if (device.Open(1) && device.Write('v', written))
            ::pause();
        ::_exit(0);
    }
    uint8_t got = 0;
    const bool connected = m_pty.ReadMaster(got);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(connected);
    EXPECT_EQ(got, 'v');
    int exclusive = -1;
    ASSERT_EQ(::ioctl(m_pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0); // root would get in regardless; nobody else would
    EXPECT_EQ(ListOf(device).size(), 2u);
    EXPECT_TRUE(device.Open(1));
}

TEST_F(EnumerationTest, StaleForeignAndNonTerminalEntriesAreSkippedNotHidingTheLiveOneInAPrivateFolderOnly)
{
    std::string error;
    ASSERT_TRUE(CSimulatedDeviceRegistry(m_runtime.string()).CreateFolder(error)) << error;
    WriteEntry(m_runtime, "a-dead-simulator", kNoSuchPid, m_pty.SlavePath());
    WriteEntry(m_runtime, "b-pty-gone", ::getpid(), "/dev/pts/999999");
    WriteEntry(m_runtime, "c-not-a-device", ::getpid(), m_runtime.string());
    WriteEntry(m_runtime, "c-null", ::getpid(), "/dev/null"); // devices, but no terminals
    WriteFileBytes(m_runtime / "d-garbage", "this is not an entry\n");
    WriteEntry(m_runtime, ".e-being-written", ::getpid(), m_pty.SlavePath());
    fs::create_symlink(m_runtime / "z-live", m_runtime / "f-symlink");
    WriteEntry(m_runtime, "z-live", ::getpid(), m_pty.SlavePath());

    CFtd2xxDevice device(m_sysfs.string(), m_runtime.string());
    EXPECT_EQ(ListOf(device), Entries{m_pty.SlavePath() + "=TAMRIX TESTER"});

    // The simulator side clears entries of simulators that are gone.
    CSimulatedDeviceRegistry(m_runtime.string()).RemoveStaleEntries();
    EXPECT_FALSE(fs::exists(m_runtime / "a-dead-simulator"));
    EXPECT_TRUE(fs::exists(m_runtime / "z-live"));

    // Nor is anything listed from a folder others can enter or that is not our own.
    for (const mode_t mode : {0755, 0750, 0701, 0710}) {
        ASSERT_EQ(::chmod(m_runtime.c_str(), mode), 0);
        EXPECT_TRUE(ListOf(device).empty()) << std::oct << mode;
        error.clear();
        EXPECT_FALSE(CSimulatedDeviceRegistry(m_runtime.string()).CreateFolder(error)) << std::oct << mode;
        EXPECT_FALSE(error.empty());
    }
    ASSERT_EQ(::chmod(m_runtime.c_str(), 0700), 0);
    EXPECT_EQ(ListOf(device).size(), 1u);

    // A symbolic link to a private folder is not the folder itself.
    const fs::path link = m_root.Path() / "link";
    fs::create_directory_symlink(m_runtime, link);
    CFtd2xxDevice throughLink(m_sysfs.string(), link.string());
    EXPECT_TRUE(ListOf(throughLink).empty());

    if (::getuid() != 0)
        GTEST_SKIP() << "changing the owner needs root";
    ASSERT_EQ(::chown(m_runtime.c_str(), 65534, 65534), 0);
    EXPECT_TRUE(ListOf(device).empty());
}

TEST(RuntimeFolderTest, OnlyAnAbsolutePrivateXdgRuntimeDirIsUsed)
{
    const std::string fallback = "/tmp/q9tester-" + std::to_string(::getuid());
    CTempFolder folder;
    const std::string own = folder.Path().string();
    ::setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
    EXPECT_EQ(PrivateRuntimeFolder(), own);
    EXPECT_EQ(CSimulatedDeviceRegistry::DefaultFolder(), own + "/q9tester-devices");
    ASSERT_EQ(::chmod(own.c_str(), 0755), 0); // others may look, not write
    EXPECT_EQ(PrivateRuntimeFolder(), own);
    for (const mode_t shared : {0777, 0730}) {
        ASSERT_EQ(::chmod(own.c_str(), shared), 0);
        EXPECT_EQ(PrivateRuntimeFolder(), fallback) << std::oct << shared;
    }
    ::setenv("XDG_RUNTIME_DIR", "run/user", 1);
    EXPECT_EQ(PrivateRuntimeFolder(), fallback);
    EXPECT_TRUE(IsPrivateFolder(fallback)); // no other test reads the variable
}

} // namespace
