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

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "link/frame.h"
#include "link/transports/module_packet.h"
#include "platform/net/udp_socket.h"

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

    enum class Search { Hotspot, Sweep, OnlyHost };

    // The PC is 127.0.0.1 on 127.0.0.0/8; discovery asks the module's usual
    // address as the hotspot, or sweeps 127.0.0.2 to .254, or asks only it.
    NetworkTransport& useModule(uint16_t port, Search search = Search::Hotspot) {
        NetworkConfig config;
        config.local = {NetAddress::kLoopback, 0};
        config.modulePort = config.tcpPort = port;
        config.subnets = std::vector<DiscoveryScope::Subnet>{{NetAddress::kLoopback, 0xFF000000}};
        config.broadcast = false;
        config.sweep = search == Search::Sweep;
        config.hotspot = kModuleIp;
        if (search == Search::OnlyHost) config.host = kModuleIp;
        auto transport = std::make_unique<NetworkTransport>(link.transportListener(), link.clock(),
                                                            link.module(), config);
        NetworkTransport& t = *transport;
        link.setNetworkTransport(std::move(transport));
        link.supervisor().setInitialTransportType(TransportType::Network);
        return t;
    }

    RelayTransport& useRelay(uint16_t port) { return useRelay(port, link); }
    RelayTransport& useRelay(uint16_t port, Link& on) {
        RelayConfig config{
            "127.0.0.1", port, static_cast<uint16_t>(port + 1), {NetAddress::kLoopback, 0}};
        auto transport =
            std::make_unique<RelayTransport>(on.transportListener(), on.clock(), config);
        RelayTransport& t = *transport;
        on.state().chosenDeviceId = device.deviceId();
        on.setRelayTransport(std::move(transport));
        on.supervisor().setInitialTransportType(TransportType::Relay);
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

    // A stranger on the network that claims to be the module, answers the
    // probes and fakes confirmations; what reaches it is kept.
    struct Intruder {
        UdpSocket socket;
        std::vector<std::string> heard;

        void lie(uint16_t toPort) {
            for (std::string text :
                 {"Get_IP:7F000002", "Get_IP:7F000001", "Get_IP:FFFFFFFF", "Set_HotPW:OK"})
                if (toPort != 0)
                    socket.sendTo({NetAddress::kLoopback, toPort},
                                  reinterpret_cast<const uint8_t*>(text.data()), text.size());
            std::array<uint8_t, 256> buffer;
            for (long n; (n = socket.receive(buffer.data(), buffer.size(), 0)) > 0;)
                heard.emplace_back(buffer.begin(), buffer.begin() + n);
        }
    };

    void intruderIsIgnored(Search search) {
        SimModuleServer module(device, clock);
        ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
        Intruder intruder;
        ASSERT_TRUE(intruder.socket.open({kIntruderIp, module.port()}, false));
        NetworkTransport& transport = useModule(module.port(), search);
        link.state().chosenDeviceId = device.deviceId();
        ASSERT_TRUE(link.supervisor().start());
        ASSERT_TRUE(waitFor([&] {
            intruder.lie(transport.localPort());
            return link.isConnected();
        }));
        link.module().setTextAndQueue(ModuleTable::SetHotspotSsid, "Set_HotSSID:Lounge");
        link.module().setTextAndQueue(ModuleTable::SetHotspotPassword, "Set_HotPW:secret-pass");
        ASSERT_TRUE(waitFor([&] {
            intruder.lie(transport.localPort());
            return ui.countMessages("Set Hot:OK") == 1;
        }));
        EXPECT_EQ(device.moduleSetting("HotPW"), "secret-pass") << "confirmed by the module itself";
        EXPECT_EQ(link.module().clients(), std::vector<uint32_t>{kModuleIp});
        EXPECT_EQ(module.connections(), 1u);
        // A sweep asks every host; nothing else reaches a stranger.
        for (const std::string& text : intruder.heard)
            EXPECT_TRUE(search == Search::Sweep && text == "Get_IP:") << text;
        link.supervisor().stop();
        expectLoopbackOnly(transport.destinations());
    }

    static constexpr uint32_t kModuleIp = ipv4Of(127, 0, 0, 2);
    static constexpr uint32_t kIntruderIp = ipv4Of(127, 0, 0, 3);
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
    ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
    NetworkTransport& transport = useModule(module.port());
    link.state().chosenDeviceId = device.deviceId();
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_EQ(ui.title(), "QX7-NET");
    EXPECT_EQ(link.module().clients(), std::vector<uint32_t>{kModuleIp});
    EXPECT_EQ(module.lastEnvelopeId(), device.deviceId()) << "the envelope names the chosen device";
    link.supervisor().stop();
    EXPECT_FALSE(transport.servingModule());
    EXPECT_FALSE(transport.readerRunning());
    expectLoopbackOnly(transport.destinations());
}

TEST_F(NetworkLinkTest, AModuleWithAnotherDeviceIdIsNotTakenUntilTheRightIdIsChosen) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
    useModule(module.port());
    uint32_t wanted = device.deviceId() + 1;
    std::atomic<int> asked{0};
    link.setDeviceIdSource([&] { return ++asked > 2 ? device.deviceId() : wanted; });
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_GE(module.connections(), 3u) << "the wrong ID was tried and refused first";
    EXPECT_EQ(link.state().chosenDeviceId, device.deviceId());
}

TEST_F(NetworkLinkTest, WithoutAnIdTheUserIsAskedEverySecond) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
    useModule(module.port());
    ui.onEvent([&](const RecordingUi::Event& e) {
        if (e.code == LinkEvent::RelayStatus && ui.countEvents(LinkEvent::RelayStatus, 1) == 3)
            link.state().chosenDeviceId = device.deviceId();
    });
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
}

// Module commands go as datagrams, each again every pass until answered,
// with the network's own confirmations.
TEST_F(NetworkLinkTest, ModuleCommandsTravelAsDatagrams) {
    SimModuleServer module(device, clock);
    ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
    useModule(module.port());
    link.state().chosenDeviceId = device.deviceId();
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
    ASSERT_TRUE(module.start(0, kModuleIp)) << module.error();
    NetworkTransport& transport = useModule(module.port());
    // The chosen ID is dropped after each fruitless round; this gives it again.
    link.setDeviceIdSource([&] { return device.deviceId(); });
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return module.connections() >= 2; }))
        << "tried again after the silence";
    EXPECT_FALSE(link.isConnected());
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
    EXPECT_FALSE(transport.readerRunning());
    EXPECT_FALSE(transport.servingModule());
}

TEST_F(NetworkLinkTest, StopEndsADiscoveryThatFindsNothing) {
    NetworkTransport& transport = useModule(9);  // nobody answers there
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return transport.destinations().size() == 1; }));
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
    EXPECT_FALSE(transport.servingModule());
    expectLoopbackOnly(transport.destinations());
}

TEST_F(NetworkLinkTest, AStrangerThatAnswersTheSweepIsNotBelieved) {
    intruderIsIgnored(Search::Sweep);
}

TEST_F(NetworkLinkTest, WithAHostGivenOnlyItIsListenedTo) {
    intruderIsIgnored(Search::OnlyHost);
}

// Two modules answer: a program that would take any device takes none and
// says so; the one picked from the client list is then the one connected.
TEST_F(NetworkLinkTest, OfTwoModulesOnlyThePickedOneIsTaken) {
    SimDevice other;
    SimModuleServer first(device, clock);
    SimModuleServer second(other, clock);
    ASSERT_TRUE(first.start(0, kModuleIp)) << first.error();
    ASSERT_TRUE(second.start(first.port(), kIntruderIp)) << second.error();
    useModule(first.port(), Search::Sweep);
    link.setDeviceIdSource([] { return DeviceIdCheck::kAnyDevice; });
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return ui.countEvents(LinkEvent::ClientList, 2) >= 2; }));
    EXPECT_EQ(first.connections() + second.connections(), 0u) << "none was taken blindly";
    link.state().networkDeviceAddress = kIntruderIp;
    ASSERT_TRUE(waitFor([&] { return link.isConnected(); }));
    EXPECT_EQ(first.connections(), 0u);
    EXPECT_GE(second.connections(), 1u);
}

TEST_F(NetworkLinkTest, RelayBindsReadsAndWrites) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    RelayTransport& transport = useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    EXPECT_TRUE(readAndWrite());
    EXPECT_EQ(ui.title(), "QX7-Server");
    EXPECT_TRUE(SimLinkHarness::hearsUnaskedWhilePaused(link, device, 310, 1234));
    EXPECT_EQ(relay.boundClient(), RelayPacket::number(transport.clientId()));
    EXPECT_GE(ui.countEvents(LinkEvent::RelayStatus, 1), 1) << "the server's status was told";
    link.supervisor().stop();
    EXPECT_FALSE(transport.receiverRunning());
    EXPECT_TRUE(waitFor([&] { return relay.boundClient() == 0; })) << "the channel was closed";
    expectLoopbackOnly(transport.destinations());
}

// The device keeps the presence word the last program wrote: the next program
// over the relay server must find the device free, not occupied.
TEST_F(NetworkLinkTest, ASecondProgramOverTheRelayFindsTheDeviceFree) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(readAndWrite());
    link.supervisor().stop();
    link.supervisor().join();

    RecordingUi nextUi;
    Link next(nextUi, clock);
    useRelay(relay.controlPort(), next);
    ASSERT_TRUE(next.supervisor().start());
    EXPECT_TRUE(waitFor([&] { return nextUi.countEvents(LinkEvent::ReadComplete, 0) == 1; }));
    EXPECT_EQ(nextUi.countMessages("Equipment occupied!"), 0);
    next.supervisor().stop();
    next.supervisor().join();
}

// The client ID travels in clear: a stranger that knows it still cannot
// change the mirror, even from the server's port number.
TEST_F(NetworkLinkTest, RelayDataFromAnotherAddressChangesNothing) {
    SimRelayServer relay(device, clock);
    ASSERT_TRUE(relay.start()) << relay.error();
    RelayTransport& transport = useRelay(relay.controlPort());
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(readAndWrite());
    uint16_t before = link.mirror().value(300);
    RelayPacket::ClientId id = transport.clientId();
    std::vector<uint8_t> carried(id.begin(), id.end());
    std::vector<uint8_t> frame = Frame::build(
        Command::ReadParameters,
        {0x01, 0x2C, static_cast<uint8_t>(~before >> 8), static_cast<uint8_t>(~before)});
    carried.insert(carried.end(), frame.begin(), frame.end());
    std::vector<uint8_t> forged = ModulePacket::build({}, carried.data(), carried.size());
    ASSERT_TRUE(RelayPacket::framesFor(forged.data(), forged.size(), id)) << "well formed";
    UdpSocket intruder;
    ASSERT_TRUE(intruder.open({kIntruderIp, relay.dataPort()}, false));
    link.mirror().setPending(201, 77);
    ASSERT_TRUE(waitFor([&] {
        intruder.sendTo({NetAddress::kLoopback, transport.localPort()}, forged.data(),
                        forged.size());
        return !link.mirror().pending(201);
    }));
    EXPECT_EQ(link.mirror().value(300), before);
}

// A name that does not resolve is asked again after 1, 2 and 4 s; a name
// server that never answers does not hold a Stop.
TEST_F(NetworkLinkTest, RelayNameLookupBacksOffAndNeverHoldsAStop) {
    struct Lookups {
        std::mutex mutex;
        std::condition_variable released;
        bool free = false;
        std::vector<std::chrono::steady_clock::time_point> at;
    };
    auto lookups = std::make_shared<Lookups>();
    RelayConfig config{"relay.invalid", 9, 10, {NetAddress::kLoopback, 0}};
    config.resolve = [lookups](const std::string&) -> std::optional<SocketAddress> {
        std::unique_lock lock(lookups->mutex);
        lookups->at.push_back(std::chrono::steady_clock::now());
        if (lookups->at.size() > 4) lookups->released.wait(lock, [&] { return lookups->free; });
        return std::nullopt;
    };
    link.setRelayTransport(
        std::make_unique<RelayTransport>(link.transportListener(), link.clock(), config));
    link.supervisor().setInitialTransportType(TransportType::Relay);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(lookups->mutex);
        return lookups->at.size() == 5;
    }));
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning()) << "the hanging lookup was abandoned";
    std::lock_guard lock(lookups->mutex);
    for (size_t k = 1; k < 4; ++k) {
        double ms =
            std::chrono::duration<double, std::milli>(lookups->at[k] - lookups->at[k - 1]).count() *
            clock.speed();
        EXPECT_GE(ms, 900.0 * (1 << (k - 1))) << "retry " << k;
    }
    lookups->free = true;
    lookups->released.notify_all();
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
