#pragma once

#include <memory>
#include <string>

#include "connect/transport_choice.h"
#include "daemon/daemon.h"
#include "sim/sim_device.h"
#include "support/temp_folder.h"

// qx7d in this process on the simulated device, on a free loopback port and
// a Unix socket in a temporary folder, with the device's values read.
class DaemonFixture {
public:
    static constexpr const char* kToken =
        "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

    explicit DaemonFixture(ServerLimits limits = {});
    ~DaemonFixture();

    unsigned port() const { return m_port; }
    std::string socket() const { return m_folder.path("qx7d.sock"); }
    SimDevice& device() { return *m_choice.simulatedDevice(); }
    Daemon& daemon() { return *m_daemon; }
    std::string bearer() const { return std::string("Bearer ") + kToken; }

private:
    TempFolder m_folder;
    TransportChoice m_choice;
    std::unique_ptr<Daemon> m_daemon;
    unsigned m_port = 0;
};
