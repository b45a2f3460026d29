// The whole link over the network and relay transports to the simulated
// device on loopback: discovery, the device-ID check, relay binding, a full
// read and a confirmed write. Every packet stays on 127.0.0.0/8.
#include <gtest/gtest.h>

#include <ctime>

#include "files/settings.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/network_transport.h"
#include "link/transports/relay_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_module_server.h"
#include "sim/sim_relay_server.h"
#include "support/recording_ui.h"
#include "support/sim_link_harness.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"

namespace {

class NetworkLinkTest : public ::testing::Test {
protected:
    NetworkLinkTest() {
        Settings::overrideFolders(settings.folder("program"), settings.folder("user"));
    }
    ~NetworkLinkTest() override {
        link.supervisor().stop();
        link.supervisor().join();
        Settings::overrideFolders({}, {});
    }

    // Discovery asks 127.0.0.1 only, on the module's port.
    NetworkTransport& useModule(uint16_t port) {
        NetworkConfig config;
        config.local = {NetAddress::kLoopback, 0};
        config.modulePort = config.tcpPort = port;
        config.broadcast = false;
        config.sweep = false;
        config.hotspot = NetAddress::kLoopback;
        config.ownAddress = NetAddress::kLoopback;
        auto transport = std::make_unique<NetworkTransport>(link, config);
        NetworkTransport& t = *transport;
        link.setTransport(TransportType::Network, std::move(transport));
        link.supervisor().setInitialTransportType(TransportType::Network);
        return t;
    }

    RelayTransport& useRelay(uint16_t port) {
        RelayConfig config{
            "127.0.0.1", port, static_cast<uint16_t>(port + 1), {NetAddress::kLoopback, 0}};
        auto transport = std::make_unique<RelayTransport>(link, config);
        RelayTransport& t = *transport;
        t.setChosenDeviceId(device.deviceId());
        link.setTransport(TransportType::Relay, std::move(transport));
        link.supervisor().setInitialTransportType(TransportType::Relay);
        return t;
    }

    bool readAndWrite() {
        if (!waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) == 1; })) return false;
        EXPECT_EQ(link.mirror().value(300), device.value(300));
        link.mirror().setPending(200, 4321);
        return waitFor([&] { return !link.mirror().pending(200); }) && device.value(200) == 4321;
    }

    static void expectLoopbackOnly(const std::vector<uint32_t>& destinations) {
        EXPECT_FALSE(destinations.empty());
        for (uint32_t ip : destinations)
            EXPECT_TRUE(NetAddress::isLoopback(ip)) << NetAddress::text(ip);
    }

    TempFolder settings;
    RecordingUi ui;
    Clock clock{kLinkTestSpeed};
    SimDevice device;
    Link link{ui, clock};
};

TEST_F(NetworkLinkTest, FindsTheModuleReadsAndWritesOverLoopbackOnly) {
    SimFaults faults;
    faults.chunkSize = 7;  // replies cut into TCP pieces
    faults.replyDelayMs = 5;
    device.setFaults(faults);
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start()) << module.error();
    NetworkTransport& transport = useModule(module.port());
    transport.setChosenDeviceId(device.deviceId());
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_EQ(ui.title(), "QX7-NET");
    EXPECT_EQ(transport.clientList(), std::vector<uint32_t>{NetAddress::kLoopback});
    EXPECT_EQ(module.lastEnvelopeId(), device.deviceId()) << "the envelope names the chosen device";
    link.supervisor().stop();
    EXPECT_FALSE(transport.discoveryRunning());
    EXPECT_FALSE(transport.readerRunning());
    expectLoopbackOnly(transport.destinations());
}

TEST_F(NetworkLinkTest, AModuleWithAnotherDeviceIdIsNotTakenUntilTheRightIdIsChosen) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start()) << module.error();
    NetworkTransport& transport = useModule(module.port());
    uint32_t wanted = device.deviceId() + 1;
    std::atomic<int> asked{0};
    transport.setDeviceIdSource([&] { return ++asked > 2 ? device.deviceId() : wanted; });
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_GE(module.connections(), 3u) << "the wrong ID was tried and refused first";
    EXPECT_EQ(transport.chosenDeviceId(), device.deviceId());
}

TEST_F(NetworkLinkTest, WithoutAnIdTheUserIsAskedEverySecond) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start()) << module.error();
    NetworkTransport& transport = useModule(module.port());
    ui.onEvent([&](const RecordingUi::Event& e) {
        if (e.code == LinkEvent::RelayStatus && ui.countEvents(LinkEvent::RelayStatus, 1) == 3)
            transport.setChosenDeviceId(device.deviceId());
    });
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
}

// Module commands go as datagrams, each again every pass until answered,
// with the network's own confirmations.
TEST_F(NetworkLinkTest, ModuleCommandsTravelAsDatagrams) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start()) << module.error();
    useModule(module.port()).setChosenDeviceId(device.deviceId());
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return link.isConnected(); }));
    ModuleTable& table = link.module();
    table.setTextAndQueue(ModuleTable::SetHotspotSsid, "Set_HotSSID:Lounge");
    table.setTextAndQueue(ModuleTable::SetHotspotPassword, "Set_HotPW:");
    table.setTextAndQueue(ModuleTable::SetServerPort, "Set_ServerPort:1010");
    EXPECT_TRUE(waitFor([&] { return ui.countMessages("Set Hot:OK") == 1; }));
    EXPECT_TRUE(waitFor([&] { return ui.countMessages("Set_ServerPort:OK") == 1; }));
    EXPECT_EQ(device.moduleSetting("HotSSID"), "Lounge");
    EXPECT_EQ(table.attempts(ModuleTable::SetHotspotSsid), 0);
}

TEST_F(NetworkLinkTest, AModuleThatNeverAnswersOverTcpIsLeftAndStopIsPrompt) {
    SimFaults faults;
    faults.silent = true;
    device.setFaults(faults);
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start()) << module.error();
    NetworkTransport& transport = useModule(module.port());
    // The chosen ID is dropped after each fruitless round; this gives it again.
    transport.setDeviceIdSource([&] { return device.deviceId(); });
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return module.connections() >= 2; }))
        << "tried again after the silence";
    EXPECT_FALSE(link.isConnected());
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
    EXPECT_FALSE(transport.readerRunning());
    EXPECT_FALSE(transport.discoveryRunning());
}

TEST_F(NetworkLinkTest, StopEndsADiscoveryThatFindsNothing) {
    NetworkTransport& transport = useModule(9);  // nobody answers there
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return transport.destinations().size() == 1; }));
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
    EXPECT_FALSE(transport.discoveryRunning());
    expectLoopbackOnly(transport.destinations());
}

TEST_F(NetworkLinkTest, RelayBindsReadsAndWrites) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    RelayTransport& transport = useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_EQ(ui.title(), "QX7-Server");
    EXPECT_EQ(relay.boundClient(), RelayPacket::number(transport.clientId()));
    EXPECT_GE(ui.countEvents(LinkEvent::RelayStatus, 1), 1) << "the server's status was told";
    link.supervisor().stop();
    EXPECT_FALSE(transport.receiverRunning());
    EXPECT_TRUE(waitFor([&] { return relay.boundClient() == 0; })) << "the channel was closed";
    expectLoopbackOnly(transport.destinations());
}

TEST_F(NetworkLinkTest, RelayTakesOverABindingOlderThan300Seconds) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    relay.setBinding(0x0BADC0DE, std::time(nullptr) - 301);
    RelayTransport& transport = useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_EQ(relay.boundClient(), RelayPacket::number(transport.clientId()));
}

TEST_F(NetworkLinkTest, RelaySaysTheDeviceIsBusyWhileAnotherClientHoldsIt) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    relay.setBinding(0x0BADC0DE, std::time(nullptr) - 10);
    useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(
        waitFor([&] { return ui.countMessages("Equipment is busy! Please wait...") == 1; }));
    EXPECT_EQ(relay.boundClient(), 0x0BADC0DEu);
    EXPECT_FALSE(link.isConnected());
}

}  // namespace
