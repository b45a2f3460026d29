// The serial port list on a made-up /dev and /sys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/transports/serial_port_list.h"

namespace fs = std::filesystem;

namespace {

class SerialPortListTest : public ::testing::Test {
protected:
    SerialPortListTest() {
        root = fs::temp_directory_path() /
               ("qx7-ports-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(dev() / "serial" / "by-id");
        fs::create_directories(sys());
    }
    ~SerialPortListTest() override { fs::remove_all(root); }

    fs::path dev() const { return root / "dev"; }
    fs::path sys() const { return root / "sys"; }
    std::string device(const std::string& name) {
        std::ofstream(dev() / name).put('\0');
        return fs::canonical(dev() / name).string();
    }
    void uart(const std::string& name, int type) {
        fs::create_directories(sys() / "class" / "tty" / name);
        std::ofstream(sys() / "class" / "tty" / name / "type") << type << "\n";
    }
    std::vector<std::string> list() const {
        return SerialPortList(dev().string(), sys().string()).enumerate();
    }

    fs::path root;
};

TEST_F(SerialPortListTest, StableNameAndDeviceOfOnePortGiveOneEntry) {
    std::string usb0 = device("ttyUSB0");
    fs::create_symlink("../../ttyUSB0",
                       dev() / "serial" / "by-id" / "usb-Silicon_Labs_CP2102-if00-port0");
    fs::create_symlink("../../ttyUSB0", dev() / "serial" / "by-id" / "usb-duplicate-link");
    EXPECT_EQ(list(), std::vector<std::string>{usb0});
}

TEST_F(SerialPortListTest, KindsInOrderAndNumbersInNumericOrder) {
    std::string s0 = device("ttyS0");
    device("ttyS1");
    std::string rfcomm0 = device("rfcomm0");
    std::string acm0 = device("ttyACM0");
    std::string usb10 = device("ttyUSB10");
    std::string usb2 = device("ttyUSB2");
    std::string usb1 = device("ttyUSB1");
    fs::create_symlink("../../ttyUSB2", dev() / "serial" / "by-id" / "usb-adapter");
    uart("ttyS0", 4);
    uart("ttyS1", 0);
    EXPECT_EQ(list(), (std::vector<std::string>{usb2, usb1, usb10, acm0, rfcomm0, s0}));
}

TEST_F(SerialPortListTest, OnlyDevicesThatExistAndLookLikePorts) {
    fs::create_symlink("../../ttyUSB7", dev() / "serial" / "by-id" / "usb-gone");  // dangling
    device("ttyUSB");                                                              // no number
    device("ttyUSB0x");                                                            // not a number
    device("ttySomething");
    device("ttyS3");  // no UART information: not listed
    device("tty0");
    EXPECT_TRUE(list().empty());
}

TEST(SerialPortList, MissingFoldersGiveAnEmptyList) {
    EXPECT_TRUE(SerialPortList("/nonexistent/dev", "/nonexistent/sys").enumerate().empty());
}

}  // namespace
