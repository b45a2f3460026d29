#pragma once

#include <string>
#include <vector>

// The serial devices of this system in the order the link tries them: the
// stable names of USB adapters (resolved to their devices), USB and ACM
// ttys, Bluetooth serial (rfcomm), then on-board ports that have hardware
// behind them. Each device appears once; only devices that exist are listed.
class SerialPortList {
public:
    static constexpr size_t kMaxPorts = 255;

    // The roots are there for tests; a system has them at "/dev" and "/sys".
    explicit SerialPortList(std::string devRoot = "/dev", std::string sysRoot = "/sys");

    std::vector<std::string> enumerate() const;

private:
    // Device names in dir that are prefix followed by digits, in numeric order.
    std::vector<std::string> numbered(const std::string& prefix) const;
    // An on-board port is registered whether or not a UART is fitted; the
    // kernel reports the UART type as 0 when there is none.
    bool hasUart(const std::string& name) const;

    std::string m_devRoot;
    std::string m_sysRoot;
};
