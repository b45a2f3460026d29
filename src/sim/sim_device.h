#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "sim/sim_faults.h"
#include "sim/sim_loader.h"
#include "sim/sim_wifi_module.h"

// A device that keeps the device contract: 1746 parameters, sixteen stored
// modes with names, a device ID, the Wi-Fi module's text replies and the
// upgrade replies. It reads request frames from a byte stream and answers with
// reply frames, misbehaving as its faults say.
class SimDevice {
public:
    static constexpr int kParameters = 1746;
    static constexpr int kModes = 16;
    static constexpr int kNameSize = 25;
    static constexpr uint16_t kVersion = 123;
    using Memory = std::array<uint16_t, kParameters>;

    struct Reply {
        std::vector<uint8_t> bytes;
        uint32_t delayMs = 0;  // after the previous reply (or after the request)
    };

    // What a stuck USB write waits on; released when writes may complete again
    // (the fault is lifted, the device vanishes or is destroyed). Held by the
    // writers, so that a write still waiting outlives the device safely.
    struct WriteHold {
        std::mutex mutex;
        std::condition_variable released;
        uint64_t releases = 0;
    };

    explicit SimDevice(uint64_t seed = 1);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    // Request bytes in any chunking; the replies they cause, in order.
    std::vector<Reply> receive(const uint8_t* data, size_t size);

    uint16_t value(int index) const;
    // A change made on the device itself, which it keeps to itself.
    void setValue(int index, uint16_t value);
    // A change made on the device itself that it also reports unasked, as a
    // Read parameters reply sent ahead of its next reply.
    void changeAndReport(int index, uint16_t value);
    // A 0x55 notice sent ahead of the next reply.
    void sendNotice();
    Memory memory() const;
    std::string modeName(int mode) const;
    void setModeName(int mode, const std::string& name);
    Memory modeMemory(int mode) const;
    uint32_t deviceId() const;
    // Another device on the same port: a new ID, a new USB serial number.
    void setDeviceId(uint32_t id);
    std::string usbSerial() const;
    void setUsbSerial(const std::string& serial);
    // The Wi-Fi module's setting as "Get_" + key reports it, and the texts it received.
    std::string moduleSetting(const std::string& key) const;
    std::vector<std::string> moduleLog() const;
    // Told of every module text as it arrives (on the receiving thread).
    void setModuleListener(std::function<void(const std::string&)> listener);

    SimFaults faults() const;
    void setFaults(const SimFaults& faults);
    // Each disappearance starts a new generation; handles from an older one stay dead.
    uint64_t generation() const;
    void setAbsent(bool absent);
    std::shared_ptr<WriteHold> writeHold() const { return m_hold; }

    SimLoader::Report loaderReport() const;
    void setLoaderFaults(const SimLoader::Faults& faults);

    // How many valid request frames with this command have arrived.
    uint64_t requests(uint8_t command) const;
    // Valid request frames in order of arrival (bounded; oldest dropped first).
    std::vector<std::vector<uint8_t>> requestLog() const;
    void clearRequestLog();

private:
    std::vector<Reply> handleFrame(const uint8_t* frame, size_t size);
    std::vector<uint8_t> answer(uint8_t command, const uint8_t* payload, size_t size);
    std::vector<Reply> bulkStream();
    std::vector<uint8_t> readParameters(const uint8_t* payload, size_t size);
    std::vector<uint8_t> writeParameters(const uint8_t* payload, size_t size);
    std::vector<uint8_t> moduleText(const uint8_t* payload, size_t size);
    std::vector<uint8_t> loaderBlock(const uint8_t* payload, size_t size);
    void recall(int mode);
    uint16_t presenceRead();
    std::vector<Reply> withFaults(std::vector<Reply> replies);
    void releaseWrites();

    mutable std::mutex m_mutex;
    SimFaults m_faults;
    std::mt19937_64 m_random;
    Memory m_memory{};
    std::array<Memory, kModes> m_modes{};
    std::array<std::string, kModes> m_names;
    uint32_t m_deviceId = 0x00BC614E;
    std::string m_usbSerial = "SIM0001";
    SimWifiModule m_module;
    std::function<void(const std::string&)> m_moduleListener;
    SimLoader m_loader;
    uint64_t m_generation = 0;
    uint64_t m_presenceReads = 0;
    std::vector<uint8_t> m_input;
    std::array<uint64_t, 256> m_requests{};
    std::vector<std::vector<uint8_t>> m_log;
    std::vector<Reply> m_unasked;
    std::shared_ptr<WriteHold> m_hold = std::make_shared<WriteHold>();
};
