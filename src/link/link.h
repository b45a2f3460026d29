#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/device_id_check.h"
#include "link/device_info.h"
#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/link_progress.h"
#include "link/link_state.h"
#include "link/link_ui.h"
#include "link/mirror.h"
#include "link/module_table.h"
#include "link/parameter_probe.h"
#include "link/relay_bind.h"
#include "link/transport.h"
#include "link/transport_search.h"

class Clock;
class DeviceCarrier;
class LinkSupervisor;
class ModuleCarrier;
class PortCarrier;
class RelayCarrier;
struct TextTriple;

// The connection to one device: the shared link state, the parameter mirror,
// the frame parser, the transports and the supervisor thread, with the send
// and wait operations that the supervisor, its jobs and the transports share.
class Link {
public:
    // How long the destructor waits for the link's threads before it gives up on them.
    static constexpr uint32_t kShutdownLimitMs = 3000;

    explicit Link(LinkUi& ui, const Clock& clock);
    // Stops the supervisor and waits for it at most kShutdownLimitMs; past
    // that the overdue action runs (by default: say so on stderr and end the
    // process, since the thread still uses this object).
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    LinkUi& ui() { return m_ui; }
    const Clock& clock() const { return m_clock; }
    LinkState& state() { return m_state; }
    Mirror& mirror() { return m_mirror; }
    DeviceInfo& device() { return m_device; }
    FrameParser& parser() { return m_parser; }
    LinkProgress& progress() { return m_progress; }
    ModuleTable& module() { return m_module; }
    LinkSupervisor& supervisor() { return *m_supervisor; }

    // Registers the carrier of each kind with the link's search for it; the
    // serial one serves both Serial and Bluetooth.
    void setUsbTransport(std::unique_ptr<DeviceCarrier> carrier);
    void setSerialTransport(std::unique_ptr<PortCarrier> carrier);
    void setNetworkTransport(std::unique_ptr<ModuleCarrier> carrier);
    void setRelayTransport(std::unique_ptr<RelayCarrier> carrier);
    // A carrier that is up or not by itself, never searched for.
    void setTransport(TransportType type, std::unique_ptr<Transport> transport);
    Transport* transportFor(TransportType type) const;
    Transport* transport() const { return transportFor(m_state.transportType); }
    // Over the network and the relay only a proved device counts as connected.
    bool isConnected() const;
    // What proves the device on a transport of this type.
    Handshake& handshakeFor(TransportType type);
    // Searches on the transport of this type until the device is proved on
    // it, or the link stops or turns to another transport.
    void search(TransportType type);

    // Gives the device ID to look for over the network or the relay when none
    // is chosen: 0 for none (the user is asked), DeviceIdCheck::kAnyDevice for
    // the one device that answers. Set before the start.
    using DeviceIdSource = std::function<uint32_t()>;
    void setDeviceIdSource(DeviceIdSource source) { m_deviceIdSource = std::move(source); }
    uint32_t askDeviceId() const { return m_deviceIdSource ? m_deviceIdSource() : 0; }
    // Where the transports report; every transport of this link reports here.
    TransportListener& transportListener() { return m_listener; }
    // Makes the link alive unless the carrier went down meanwhile; returns whether it did.
    bool claimAlive(const Transport& carrier);

    // Frame sender: counts a missed reply when the device has been silent for
    // the silence limit, then hands the frame to the current transport.
    void send(Command command, const uint8_t* payload, size_t size);
    void send(Command command, const std::vector<uint8_t>& payload) {
        send(command, payload.data(), payload.size());
    }
    void send(Command command, std::initializer_list<uint8_t> payload) {
        send(command, payload.begin(), payload.size());
    }
    void readParameter(int index);
    void writeParameterDirect(int index, uint16_t value);
    // One Write parameters frame of up to n pending entries; false when none was pending.
    bool sendWriteBatch(int start, int n);

    // Sleeps on the link's clock; ends at once on Stop (false then).
    bool sleep(uint32_t ms) const;
    // For tests: replaces what the destructor does when the thread outlives the limit.
    // The action must end the process or see to it that the thread ends.
    void setShutdownOverdue(std::function<void()> action) { m_overdue = std::move(action); }

    // Waits for the reply semaphore if the transport is connected; false at
    // once when it is not, when Stop was called, or when the wait timed out.
    bool waitForReply(uint32_t ms);
    // Set awaiting-reply, send, wait, clear awaiting-reply. True when the wait was signalled.
    bool request(Command command, const std::vector<uint8_t>& payload, uint32_t waitMs);
    // The same on a carrier whose device is not proven yet: a reply signal
    // left from before is dropped, and the wait lasts while the carrier is up.
    bool requestOn(const Transport& carrier, Command command, const std::vector<uint8_t>& payload,
                   uint32_t waitMs);
    // The same with a batch from the mirror; an empty one (nothing left) is no request.
    bool requestBatch(Command command, const std::vector<uint8_t>& batch, uint32_t waitMs);
    bool requestParameter(int index, uint32_t waitMs);
    bool helloAndWait() { return request(Command::Hello, {0}, 500); }
    // One step of the module's command queue: sends the next queued command
    // and waits for its reply, then shows the confirmations now due. True
    // when a command was sent.
    bool moduleStep();

    // Message boxes in the current language; an empty caption means the window
    // title. None is shown once Stop was called (the answer is No).
    LinkUi::Answer message(const std::string& text, const std::string& caption = {},
                           LinkUi::Buttons buttons = LinkUi::Buttons::Ok);
    LinkUi::Answer message(const TextTriple& text, LinkUi::Buttons buttons = LinkUi::Buttons::Ok);
    void setTitle(const std::string& title);
    std::string title() const;

private:
    // The link's side of its transports: bytes to the parser, a lost carrier
    // to the link state, notices to the user.
    class Listener : public TransportListener {
    public:
        explicit Listener(Link& link) : m_link(link) {}
        void received(const uint8_t* bytes, size_t size) override;
        void carrierDown(const std::function<void()>& lower) override;
        void notice(Notice notice, int argument, const std::string& text) override;

    private:
        Link& m_link;
    };

    LinkUi& m_ui;
    const Clock& m_clock;
    LinkState m_state;
    Mirror m_mirror;
    DeviceInfo m_device;
    FrameParser m_parser;
    LinkProgress m_progress;
    ModuleTable m_module;
    int m_moduleCursor = 0;
    Listener m_listener{*this};
    std::mutex m_aliveMutex;  // a carrier's last word against a handshake's claim of a live link
    ParameterProbe m_usbProbe{*this, 500};
    ParameterProbe m_serialProbe{*this, 700};
    DeviceIdCheck m_deviceIdCheck{*this};
    RelayBind m_relayBind{*this};
    std::array<std::unique_ptr<Transport>, 4> m_transports;      // by slotOf(type)
    std::array<std::unique_ptr<TransportSearch>, 4> m_searches;  // over m_transports
    DeviceIdSource m_deviceIdSource;
    mutable std::mutex m_titleMutex;
    std::string m_title;
    std::function<void()> m_overdue;
    std::unique_ptr<LinkSupervisor> m_supervisor;
};
