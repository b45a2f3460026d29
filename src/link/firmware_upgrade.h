#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "files/upgrade_package.h"
#include "link/frame.h"

class Link;
struct TextTriple;

// The firmware upgrade: a job of the supervisor (one LinkJob per package
// type). It checks the package, announces the upgrade,
// sends the image in numbered 256-byte blocks, kBlockSize bytes per pass, and
// closes it. The user interface chooses the file, requests the job, may
// interrupt between passes, and learns the end from lastOutcome().
//
// Make the object before the supervisor starts and keep it until the
// supervisor has stopped: the supervisor calls into it.
class FirmwareUpgrade {
public:
    static constexpr int kTypes = 5;
    static constexpr size_t kBlock = 256;
    // Image bytes per pass: the Part leaves it open; one flash sector of the
    // usual 4 KiB, the same for every type.
    static constexpr size_t kBlockSize = 4096;

    enum class Result { None, Succeeded, Failed, Interrupted, CannotOpen, BadPackage, WrongType };

    struct Outcome {
        uint64_t serial = 0;  // counts finished upgrades
        int type = 0;
        Result result = Result::None;
    };

    explicit FirmwareUpgrade(Link& link);

    // The message for a file of another type than the job's.
    static const char* wrongTypeText(int type);
    static const TextTriple& problemText(UpgradePackage::Problem problem);

    void setFileName(int type, const std::string& name);
    std::string fileName(int type) const;
    // File and request together; false for a type outside 1 to 5.
    bool request(int type, const std::string& file);
    // Ends a running upgrade before its next pass ("中断升级!"); one that has
    // not begun yet ends before it sends anything.
    void interrupt() { m_active = false; }
    bool active() const { return m_active.load(); }

    Outcome lastOutcome() const;
    // Image bytes acknowledged by the device in the current or last upgrade.
    size_t acknowledged() const { return m_acknowledged; }

    // The job; runs on the supervisor thread.
    void run(int type);

private:
    enum class Pass { Done, Failed, Stopped };

    bool startUpgrade(int type);
    void reconnectIntoLoader();
    Result sendImage(const std::vector<uint8_t>& image);
    Pass sendPass(const std::vector<uint8_t>& image, size_t pos, int& failures);
    bool sendBlock(const std::vector<uint8_t>& image, size_t number);
    bool finishUpgrade();
    bool attempt(Command command, uint8_t byte, uint32_t expected, uint32_t waitMs);
    void end(int type, Result result, const std::string& message);
    void sleep(uint32_t ms) const;

    Link& m_link;
    std::atomic<bool> m_active{false};
    std::atomic<size_t> m_acknowledged{0};
    mutable std::mutex m_mutex;
    std::string m_files[kTypes + 1];
    Outcome m_outcome;
};
