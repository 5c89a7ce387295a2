#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <map>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordingListener.h"
#include "display/PortSystemCalls.h"
#include "display/TDLPortIO.h"

namespace lcd::testing {
namespace {

using ::testing::HasSubstr;

// Plays the kernel: a parport tree, device files that open or refuse, ioperm that works or not, and a
// log of every call that reaches the hardware.
class FakeSystemCalls : public PortSystemCalls {
  public:
    bool parportDriverLoaded = true;
    std::map<std::string, std::string> baseAddresses{{"parport0", "888\t1912\n"}};
    int openResult = 3;
    int claimResult = 0;
    int writeResult = 0;
    int iopermResult = 0;
    std::vector<std::string> log;

    std::optional<std::vector<std::string>> ParportNames() override {
        if (!parportDriverLoaded) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const auto& entry : baseAddresses) {
            names.push_back(entry.first);
        }
        return names;
    }
    std::optional<std::string> ReadTextFile(const std::string& path) override {
        for (const auto& [name, text] : baseAddresses) {
            if (path == "/proc/sys/dev/parport/" + name + "/base-addr") {
                return text;
            }
        }
        return std::nullopt;
    }
    int Open(const std::string& path) override {
        log.push_back("open " + path);
        return openResult;
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        const auto byte = [argument] { return std::to_string(*static_cast<unsigned char*>(argument)); };
        switch (request) {
            case PPCLAIM:
                log.push_back("claim " + std::to_string(fd));
                return claimResult;
            case PPRELEASE:
                log.push_back("release " + std::to_string(fd));
                return 0;
            case PPSETMODE:
                log.push_back("mode " + std::to_string(*static_cast<int*>(argument)));
                return 0;
            case PPWDATA:
                log.push_back("data " + byte());
                return writeResult;
            case PPWCONTROL:
                log.push_back("control " + byte());
                return writeResult;
            default:
                log.push_back("unexpected ioctl");
                return -EINVAL;
        }
    }
    void Close(int fd) override { log.push_back("close " + std::to_string(fd)); }
    int Ioperm(unsigned long from, unsigned long count, bool enable) override {
        log.push_back("ioperm " + std::to_string(from) + " " + std::to_string(count) +
                      (enable ? " on" : " off"));
        return iopermResult;
    }
    void Outw(std::uint16_t value, std::uint16_t address) override {
        log.push_back("outw " + std::to_string(value) + " to " + std::to_string(address));
    }
};

class PortAccessTest : public ::testing::Test {
  protected:
    FakeSystemCalls calls;
};

TEST_F(PortAccessTest, ParportDeviceAt0x378IsClaimedInCompatibilityModeAndGetsLowBytes) {
    calls.baseAddresses = {{"parport0", "956 1980\n"}, {"parport1", "888\t1912\n"}};
    {
        TDLPortIO port(calls);
        port.OpenDriver();
        ASSERT_TRUE(port.ActiveHW());
        EXPECT_EQ(port.OpenedThrough(), "/dev/parport1");
        EXPECT_TRUE(port.FailureReasons().empty());
        port.SetPortWord(0x378, 0x00B8);
        port.SetPortWord(0x37A, 0x000F);
    }
    EXPECT_EQ(calls.log, (std::vector<std::string>{"open /dev/parport1", "claim 3",
                                                   "mode " + std::to_string(IEEE1284_MODE_COMPAT), "data 184",
                                                   "control 15", "release 3", "close 3"}));
}

TEST_F(PortAccessTest, DirectIoIsTheFallbackAndWritesTheZeroExtendedWord) {
    calls.parportDriverLoaded = false;
    {
        TDLPortIO port(calls);
        port.OpenDriver();
        ASSERT_TRUE(port.ActiveHW());
        EXPECT_EQ(port.OpenedThrough(), "direct I/O");
        port.SetPortWord(0x37A, 0x0009);
        port.SetPortWord(0x378, 0x00FF);
    }
    EXPECT_EQ(calls.log, (std::vector<std::string>{"ioperm 888 4 on", "outw 9 to 890", "outw 255 to 888",
                                                   "ioperm 888 4 off"}));
}

struct FailureCase {
    const char* name;
    bool driverLoaded;
    const char* baseAddress;
    int openResult;
    int claimResult;
    int iopermResult;
    const char* parportAdvice;
    const char* directIoAdvice;
};

class OpenFailureTest : public PortAccessTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OpenFailureTest, EachAttemptLeavesAReasonAPersonCanActOn) {
    const FailureCase& c = GetParam();
    calls.parportDriverLoaded = c.driverLoaded;
    calls.baseAddresses = {{"parport0", c.baseAddress}};
    calls.openResult = c.openResult;
    calls.claimResult = c.claimResult;
    calls.iopermResult = c.iopermResult;
    TDLPortIO port(calls);
    port.OpenDriver();
    EXPECT_FALSE(port.ActiveHW());
    ASSERT_EQ(port.FailureReasons().size(), 2u);
    EXPECT_THAT(port.FailureReasons()[0], HasSubstr(c.parportAdvice));
    EXPECT_THAT(port.FailureReasons()[1], HasSubstr(c.directIoAdvice));
    EXPECT_EQ(port.OpenedThrough(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, OpenFailureTest,
    ::testing::Values(
        FailureCase{"NoDriver", false, "888", 3, 0, -EPERM, "modprobe parport_pc ppdev", "CAP_SYS_RAWIO"},
        FailureCase{"OtherAddress", true, "956 1980", 3, 0, -EPERM, "no parallel port at 0x378",
                    "Secure Boot"},
        FailureCase{"NotInLpGroup", true, "888", -EACCES, 0, -EPERM, "lp group", "root or CAP_SYS_RAWIO"},
        FailureCase{"NoPpdev", true, "888", -ENOENT, 0, -ENOSYS, "modprobe ppdev", "x86"},
        FailureCase{"Busy", true, "888", 3, -EBUSY, -ENOSYS, "could not be claimed", "not available"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(PortAccessTest, AClaimThatFailsClosesTheDevice) {
    calls.claimResult = -EBUSY;
    calls.iopermResult = -EPERM;
    TDLPortIO port(calls);
    port.OpenDriver();
    EXPECT_THAT(calls.log, ::testing::Contains("close 3"));
}

TEST_F(PortAccessTest, OpeningAgainAfterSuccessChangesNothingAndAfterFailureTriesAgain) {
    calls.parportDriverLoaded = false;
    calls.iopermResult = -EPERM;
    TDLPortIO port(calls);
    port.OpenDriver();
    EXPECT_FALSE(port.ActiveHW());
    calls.iopermResult = 0;
    port.OpenDriver();
    EXPECT_TRUE(port.ActiveHW());
    EXPECT_TRUE(port.FailureReasons().empty());
    port.OpenDriver();
    EXPECT_EQ(std::count(calls.log.begin(), calls.log.end(), "ioperm 888 4 on"), 2);
}

TEST_F(PortAccessTest, AWriteTheKernelRefusesRaisesAClearErrorAndReachesNoListener) {
    TDLPortIO port(calls);
    RecordingListener listener;
    port.AttachListener(listener);
    port.OpenDriver();
    ASSERT_TRUE(port.ActiveHW());
    calls.writeResult = -ENODEV;
    try {
        port.SetPortWord(0x378, 0x55);
        FAIL() << "the failed write was reported as success";
    } catch (const PortWriteError& error) {
        EXPECT_THAT(error.what(), HasSubstr("/dev/parport0"));
        EXPECT_THAT(error.what(), HasSubstr("StartDriver"));
    }
    EXPECT_TRUE(listener.writes.empty());
}

TEST_F(PortAccessTest, ListenersHearEveryWriteInOrderWithOrWithoutAPort) {
    TDLPortIO port(calls);
    RecordingListener first;
    RecordingListener second;
    port.AttachListener(first);
    port.AttachListener(second);
    port.SetPortWord(0x37A, 0x09, 100);
    port.OpenDriver();
    port.SetPortWord(0x378, 0xAA, 200);
    const std::vector<PortWrite> expected{Control(0x09), Data(0xAA)};
    EXPECT_EQ(first.writes, expected);
    EXPECT_EQ(second.writes, expected);
    EXPECT_EQ(first.timestamps, (std::vector<std::int64_t>{100, 200}));
    EXPECT_EQ(std::count(calls.log.begin(), calls.log.end(), "data 170"), 1)
        << "only the write made while open";
    EXPECT_EQ(std::count(calls.log.begin(), calls.log.end(), "control 9"), 0);
    port.DetachListener(first);
    port.SetPortWord(0x378, 0x01, 300);
    EXPECT_EQ(first.writes.size(), 2u);
    EXPECT_EQ(second.writes.size(), 3u);
}

TEST_F(PortAccessTest, AddressesTheDisplayIsNotWiredToAreRefusedBeforeAnyWrite) {
    calls.parportDriverLoaded = false;
    TDLPortIO port(calls);
    port.OpenDriver();
    RecordingListener listener;
    port.AttachListener(listener);
    for (std::uint16_t address : {0x379, 0x37B, 0x37C, 0x80, 0x3BC}) {
        EXPECT_THROW(port.SetPortWord(address, 0), std::invalid_argument) << address;
    }
    EXPECT_TRUE(listener.writes.empty());
    EXPECT_EQ(std::count_if(calls.log.begin(), calls.log.end(),
                            [](const std::string& s) { return s.starts_with("outw"); }),
              0);
}

}  // namespace
}  // namespace lcd::testing
