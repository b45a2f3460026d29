#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "link/link.h"
#include "link/transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "support/recording_ui.h"

namespace {

// A carrier that hands each frame to the simulated device and its replies
// straight back to the link, on the sending thread.
class DirectCarrier : public Transport {
public:
    DirectCarrier(Link& link, SimDevice& device)
        : m_listener(link.transportListener()), m_device(device) {}
    void sendFrame(const uint8_t* frame, size_t size) override {
        if (!up) return;
        for (const SimDevice::Reply& reply : m_device.receive(frame, size))
            m_listener.received(reply.bytes.data(), reply.bytes.size());
        if (dropAfterAnswer) up = false;
    }
    bool carrierUp() const override { return up; }
    void close() override { up = false; }

    std::atomic<bool> up{true};
    bool dropAfterAnswer = false;

private:
    TransportListener& m_listener;
    SimDevice& m_device;
};

enum class Chosen { Nobody, TheDevice, Another, Anyone };
enum class Carrier { Up, Gone, LostAfterAnswer };

TEST(Handshake, ProvesTheDeviceOnlyWhenItAnswersOnACarrierThatIsStillUp) {
    const std::vector<uint8_t> ticket = {0x78, 0x56, 0x34, 0x12, 0, 0, 1, 0, 0, 0};
    const struct {
        const char* what;
        TransportType type;
        Chosen chosen;
        bool silent;
        Carrier carrier;
        bool proved;
    } cases[] = {
        {"parameter 0 answered on USB", TransportType::UsbHid, Chosen::Nobody, false, Carrier::Up,
         true},
        {"parameter 0 unanswered on serial", TransportType::Serial, Chosen::Nobody, true,
         Carrier::Up, false},
        {"carrier gone before the probe", TransportType::UsbHid, Chosen::Nobody, false,
         Carrier::Gone, false},
        {"carrier lost right after the answer", TransportType::Serial, Chosen::Nobody, false,
         Carrier::LostAfterAnswer, false},
        {"the chosen device behind the module", TransportType::Network, Chosen::TheDevice, false,
         Carrier::Up, true},
        {"another device behind the module", TransportType::Network, Chosen::Another, false,
         Carrier::Up, false},
        {"any device behind the module", TransportType::Network, Chosen::Anyone, false, Carrier::Up,
         true},
        {"relay binding taken", TransportType::Relay, Chosen::Nobody, false, Carrier::Up, true},
        {"relay lost right after the binding", TransportType::Relay, Chosen::Nobody, false,
         Carrier::LostAfterAnswer, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingUi ui;
        Clock clock(10);
        Link link(ui, clock);
        SimDevice device;
        SimFaults faults;
        faults.silent = c.silent;
        device.setFaults(faults);
        auto owned = std::make_unique<DirectCarrier>(link, device);
        DirectCarrier& carrier = *owned;
        carrier.up = c.carrier != Carrier::Gone;
        carrier.dropAfterAnswer = c.carrier == Carrier::LostAfterAnswer;
        link.setTransport(c.type, std::move(owned));
        LinkState& state = link.state();
        state.transportType = c.type;
        state.networkDeviceAddress = 5;
        const uint32_t chosen[] = {0, device.deviceId(), device.deviceId() + 1,
                                   DeviceIdCheck::kAnyDevice};
        state.chosenDeviceId = chosen[static_cast<int>(c.chosen)];

        bool proved = link.handshakeFor(c.type).prove(
            carrier, c.type == TransportType::Relay ? ticket : std::vector<uint8_t>{});
        EXPECT_EQ(proved, c.proved);
        EXPECT_EQ(state.alive(), c.proved);
        if (c.chosen == Chosen::Anyone) {
            EXPECT_EQ(state.chosenDeviceId, device.deviceId());
        }
        if (c.chosen == Chosen::Another) {
            EXPECT_EQ(state.networkDeviceAddress, 0u) << "the pick is forgotten";
        }
    }
}

}  // namespace
