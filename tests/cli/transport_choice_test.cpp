// Choosing the transport on the command line, and what that gives the link.
#include <gtest/gtest.h>

#include "connect/transport_choice.h"
#include "files/settings.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"

namespace {

using Args = std::vector<std::string>;

struct Parsed {
    bool ok;
    std::string error;
    Args rest;
};

Parsed parse(TransportChoice& choice, Args args) {
    std::string error;
    bool ok = choice.parse(args, error);
    return {ok, error, args};
}

TEST(TransportChoice, UsbHidUnlessToldOtherwise) {
    TransportChoice choice;
    Parsed p = parse(choice, {"-platform", "offscreen"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(choice.kind(), TransportType::UsbHid);
    EXPECT_EQ(p.rest, (Args{"-platform", "offscreen"})) << "other options are left to the program";
    EXPECT_FALSE(choice.helpRequested());
}

TEST(TransportChoice, SerialWithAndWithoutAPath) {
    {
        TransportChoice choice;
        Parsed p = parse(choice, {"--serial"});
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(choice.kind(), TransportType::Serial);
        EXPECT_EQ(choice.path(), "");
    }
    {
        TransportChoice choice;
        Parsed p = parse(choice, {"--serial", "--verbose"});
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(choice.path(), "") << "an option after --serial is not its path";
        EXPECT_EQ(p.rest, Args{"--verbose"});
    }
    for (Args args : {Args{"--serial", "/dev/ttyUSB1"}, Args{"--serial=/dev/ttyUSB1"}}) {
        TransportChoice choice;
        Parsed p = parse(choice, args);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(choice.path(), "/dev/ttyUSB1");
        EXPECT_TRUE(p.rest.empty());
    }
}

TEST(TransportChoice, BluetoothNeedsItsPath) {
    TransportChoice choice;
    Parsed p = parse(choice, {"--bluetooth", "/dev/rfcomm0"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(choice.kind(), TransportType::Bluetooth);
    EXPECT_EQ(choice.path(), "/dev/rfcomm0");

    for (Args args :
         {Args{"--bluetooth"}, Args{"--bluetooth", "--simulated"}, Args{"--bluetooth="}}) {
        TransportChoice missing;
        Parsed bad = parse(missing, args);
        EXPECT_FALSE(bad.ok);
        EXPECT_NE(bad.error.find("--bluetooth"), std::string::npos) << bad.error;
    }
}

TEST(TransportChoice, OneTransportOnly) {
    TransportChoice choice;
    Parsed p = parse(choice, {"--simulated", "--serial"});
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("--simulated"), std::string::npos);
    EXPECT_NE(p.error.find("--serial"), std::string::npos);
}

TEST(TransportChoice, HelpIsTakenAndDescribesEveryOption) {
    TransportChoice choice;
    Parsed p = parse(choice, {"--help"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(choice.helpRequested());
    EXPECT_TRUE(p.rest.empty());
    std::string help = TransportChoice::helpText();
    for (const char* option : {"--serial [PATH]", "--bluetooth PATH", "--simulated", "--help"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

// What a program with few options of its own does with its command line:
// the exit code, and what it printed where.
TEST(TransportChoice, ProgramCommandLine) {
    const TransportChoice::Program program{"prog", "Usage: prog [options]\n"};
    using testing::internal::CaptureStderr;
    using testing::internal::CaptureStdout;
    using testing::internal::GetCapturedStderr;
    using testing::internal::GetCapturedStdout;
    {
        TransportChoice choice;
        Args args{"--simulated", "--verbose"};
        EXPECT_EQ(choice.parseFor(program, args), std::nullopt) << "the program goes on";
        EXPECT_EQ(args, Args{"--verbose"});
        CaptureStderr();
        EXPECT_EQ(TransportChoice::rejectLeftover(program, args), 2);
        std::string err = GetCapturedStderr();
        EXPECT_EQ(err.rfind("prog: unknown option --verbose\nUsage: prog [options]\n", 0), 0)
            << err;
        EXPECT_EQ(TransportChoice::rejectLeftover(program, {}), std::nullopt);
    }
    {
        TransportChoice choice;
        Args args{"--bluetooth"};
        CaptureStderr();
        EXPECT_EQ(choice.parseFor(program, args), 2);
        std::string err = GetCapturedStderr();
        EXPECT_EQ(err.rfind("prog: --bluetooth needs", 0), 0) << err;
        EXPECT_NE(err.find(TransportChoice::helpText()), std::string::npos) << err;
    }
    {
        TransportChoice choice;
        Args args{"--help"};
        CaptureStdout();
        EXPECT_EQ(choice.parseFor(program, args), 0);
        EXPECT_EQ(GetCapturedStdout(),
                  std::string("Usage: prog [options]\n") + TransportChoice::helpText());
    }
}

TEST(TransportChoice, SerialInstallsTheSerialTransportAndItsType) {
    RecordingUi ui;
    Clock clock(10);
    TransportChoice choice;
    ASSERT_TRUE(parse(choice, {"--bluetooth", "/nonexistent/rfcomm0"}).ok);
    Link link(ui, clock);
    std::string error;
    ASSERT_TRUE(choice.install(link, error)) << error;
    EXPECT_NE(dynamic_cast<SerialTransport*>(link.transportFor(TransportType::Bluetooth)), nullptr);
    EXPECT_EQ(link.transportFor(TransportType::UsbHid), nullptr);
    EXPECT_EQ(link.supervisor().initialTransportType(), TransportType::Bluetooth);
    EXPECT_EQ(choice.simulatedDevice(), nullptr);
}

TEST(TransportChoice, SimulatedRunsTheWholeLinkInProcess) {
    RecordingUi ui;
    Clock clock(10);
    TransportChoice choice;
    ASSERT_TRUE(parse(choice, {"--simulated"}).ok);
    Link link(ui, clock);
    std::string error;
    ASSERT_TRUE(choice.install(link, error)) << error;
    ASSERT_NE(choice.simulatedDevice(), nullptr);
    EXPECT_NE(dynamic_cast<HidTransport*>(link.transportFor(TransportType::UsbHid)), nullptr);
    EXPECT_EQ(link.supervisor().initialTransportType(), TransportType::UsbHid);

    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) == 1; }));
    EXPECT_EQ(link.mirror().value(100), choice.simulatedDevice()->value(100));
    link.supervisor().stop();
}

#ifdef QX7_HAVE_HIDAPI
// The default on the real USB library: with no device plugged in, the link
// searches and still stops at once.
TEST(TransportChoice, UsbHidSearchesThroughHidapi) {
    RecordingUi ui;
    Clock clock(10);
    TransportChoice choice;
    Link link(ui, clock);
    std::string error;
    ASSERT_TRUE(choice.install(link, error)) << error;
    EXPECT_NE(dynamic_cast<HidTransport*>(link.transportFor(TransportType::UsbHid)), nullptr);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] {
        return ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) >= 1;
    }));
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
}
#endif

}  // namespace

namespace {

TEST(TransportChoice, NetworkRelayAndDeviceIdOptions) {
    struct Case {
        Args args;
        bool ok;
        TransportType kind;
        std::string path;
        uint32_t deviceId;
        Args rest;
    } cases[] = {
        {{"--network"}, true, TransportType::Network, "", 0, {}},
        {{"--network", "127.0.0.1:4000"}, true, TransportType::Network, "127.0.0.1:4000", 0, {}},
        {{"--network", "info"}, true, TransportType::Network, "", 0, {"info"}},
        {{"--relay", "relay.lan:9", "--device-id", "bc614e"},
         true,
         TransportType::Relay,
         "relay.lan:9",
         0xBC614E,
         {}},
        {{"--relay"}, false, TransportType::UsbHid, "", 0, {}},
        {{"--relay", "127.0.0.1:65535"}, false, TransportType::UsbHid, "", 0, {}},
        {{"--relay", "[::1"}, false, TransportType::UsbHid, "", 0, {}},
        {{"--device-id", "G1"}, false, TransportType::UsbHid, "", 0, {}},
        {{"--device-id=0"}, false, TransportType::UsbHid, "", 0, {}},
    };
    for (const Case& c : cases) {
        TransportChoice choice;
        Parsed p = parse(choice, c.args);
        EXPECT_EQ(p.ok, c.ok) << c.args.front() << ": " << p.error;
        if (!c.ok) continue;
        EXPECT_EQ(choice.kind(), c.kind) << c.args.front();
        EXPECT_EQ(choice.path(), c.path);
        EXPECT_EQ(choice.deviceId(), c.deviceId);
        EXPECT_EQ(p.rest, c.rest);
    }
}

// The PC connection that the Wi-Fi settings chose, when no option chooses.
TEST(TransportChoice, WifiSettingsChooseWithoutAnOption) {
    TempFolder folder;
    Settings::overrideFolders(folder.folder("program"), folder.folder("user"));
    Settings settings;
    struct Case {
        int mode;
        std::string server;
        Args args;
        std::optional<TransportType> type;  // none: not installed
        const char* errorNames;
    } cases[] = {
        {2, "", {}, TransportType::Network, ""},
        {4, "", {"--device-id", "1"}, std::nullopt, "Relay_Server"},
        {4, "127.0.0.1:9", {}, std::nullopt, "--device-id"},
        {4, "127.0.0.1:9", {"--device-id", "1"}, TransportType::Relay, ""},
        {4, "127.0.0.1:65535", {"--device-id", "1"}, std::nullopt, "65534"},
        {4, "[::1]:9", {"--device-id", "1"}, std::nullopt, "IPv4"},
        {4, "127.0.0.1:9", {"--simulated"}, TransportType::UsbHid, ""},
    };
    for (const Case& c : cases) {
        settings.writeInt("WIFI_Mode", "m_COM_MdoeIO", c.mode);
        settings.writeText("WIFI_Mode", "Relay_Server", c.server);
        RecordingUi ui;
        Clock clock(10);
        TransportChoice choice;
        ASSERT_TRUE(parse(choice, c.args).ok);
        Link link(ui, clock);
        std::string error;
        EXPECT_EQ(choice.install(link, error), c.type.has_value()) << c.mode << " " << c.server;
        EXPECT_NE(error.find(c.errorNames), std::string::npos) << error;
        if (c.type) {
            EXPECT_EQ(link.supervisor().initialTransportType(), *c.type);
        }
    }
    Settings::overrideFolders({}, {});
}

}  // namespace
