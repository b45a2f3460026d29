// The link's search for the device behind a Wi-Fi module, over modules that
// are only addresses: one of them holds the simulated device.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "link/link.h"
#include "link/module_carrier.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "support/recording_ui.h"
#include "texts/network_texts.h"

namespace {

class FakeModules : public ModuleCarrier {
public:
    FakeModules(Link& link, SimDevice& device, std::vector<uint32_t> answering, uint32_t holder)
        : m_listener(link.transportListener()),
          m_device(device),
          m_answering(std::move(answering)),
          m_holder(holder) {}

    std::vector<uint32_t> discover(const std::stop_token&) override { return m_answering; }
    bool open(uint32_t ip, uint32_t, const std::stop_token&) override {
        opened.push_back(ip);
        m_open = ip;
        return true;
    }
    void trust(uint32_t deviceId) override { trusted = deviceId; }
    void hangUp() override { m_open = 0; }
    void sendFrame(const uint8_t* frame, size_t size) override {
        if (m_open != m_holder) return;
        for (const SimDevice::Reply& reply : m_device.receive(frame, size))
            m_listener.received(reply.bytes.data(), reply.bytes.size());
    }
    bool carrierUp() const override { return m_open != 0; }
    void close() override { m_open = 0; }

    std::vector<uint32_t> opened;
    uint32_t trusted = 0;

private:
    TransportListener& m_listener;
    SimDevice& m_device;
    std::vector<uint32_t> m_answering;
    uint32_t m_holder;
    std::atomic<uint32_t> m_open{0};
};

std::vector<uint32_t> modules(uint32_t count) {
    std::vector<uint32_t> all;
    for (uint32_t k = 1; k <= count; ++k) all.push_back(0x0A000000 + k);  // 10.0.0.k
    return all;
}

TEST(NetworkSearch, OpensTheModulesInTurnAndTrustsTheOneThatHoldsTheDevice) {
    const struct {
        const char* what;
        uint32_t count;
        bool anyDevice;
        uint32_t picked;  // 1-based; 0 for none
        uint32_t holder;
        std::vector<uint32_t> opened;
        int fullSaid;
    } cases[] = {
        {"forty answer: the list stops at its cap and says so once", 40, false, 0, 3, {1, 2, 3}, 1},
        {"two answer and one is picked: only it is opened", 2, true, 2, 2, {2}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingUi ui;
        Clock clock(20);
        Link link(ui, clock);
        SimDevice device;
        std::vector<uint32_t> answering = modules(c.count);
        auto owned =
            std::make_unique<FakeModules>(link, device, answering, answering[c.holder - 1]);
        FakeModules& carrier = *owned;
        link.setNetworkTransport(std::move(owned));
        link.state().transportType = TransportType::Network;
        uint32_t wanted = c.anyDevice ? DeviceIdCheck::kAnyDevice : device.deviceId();
        link.setDeviceIdSource([wanted] { return wanted; });
        if (c.picked) link.state().networkDeviceAddress = answering[c.picked - 1];

        link.search(TransportType::Network);

        std::vector<uint32_t> expected;
        for (uint32_t k : c.opened) expected.push_back(answering[k - 1]);
        EXPECT_EQ(carrier.opened, expected);
        EXPECT_TRUE(link.isConnected());
        EXPECT_EQ(carrier.trusted, device.deviceId()) << "frames name the device proved";
        EXPECT_EQ(link.module().clients().size(),
                  std::min<size_t>(c.count, ModuleTable::kMaxClients));
        EXPECT_EQ(ui.countMessages(networktext::ClientListFull.get()), c.fullSaid);
    }
}

}  // namespace
