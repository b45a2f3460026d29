#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class Link;
struct PresetRecord;

// The jobs around presets that the supervisor runs in its steady loop: save
// the device's parameters to a preset file, send a preset file to the device,
// recall one of the device's presets, read and save a preset's name. The user
// interface prepares the inputs and requests the slot; each job reports
// through message boxes, the progress dialog and link events.
//
// Make the object before the supervisor starts and keep it until the
// supervisor has stopped: the supervisor calls into it.
class PresetJobs {
public:
    static constexpr int kSaveToFileSlot = 1;
    static constexpr int kSendFileSlot = 2;
    static constexpr int kRecallSlot = 4;
    static constexpr int kReadNameSlot = 13;
    static constexpr int kSaveNameSlot = 14;

    // How the last job ended, for callers that see no message box.
    struct Outcome {
        uint64_t serial = 0;  // counts finished jobs
        int slot = 0;
        bool ok = false;
    };

    explicit PresetJobs(Link& link);

    // The preset file name of jobs 1 and 2; any thread.
    void setFileName(const std::string& name);
    std::string fileName() const;

    // Inputs and request together, as the system page makes them. The preset
    // requests refuse numbers outside 1 to 16.
    void requestSaveToFile(const std::string& name);
    void requestSendFile(const std::string& name);
    bool requestRecall(int preset);
    bool requestReadName(int preset);
    bool requestSaveName(int preset, const std::string& name);

    Outcome lastOutcome() const;

    // Whether sending a file sets this index: the device keeps its own state
    // (current preset, preset operation, passwords and the like).
    static bool takenFromFile(int index);

    // The jobs; run on the supervisor thread.
    void saveToFile();
    void sendFile();
    void recall();
    void readName();
    void saveName();

private:
    bool writeDeviceToFile(const std::string& name);
    bool sendValues(const PresetRecord& preset);
    void sendPendingUntilDone();
    uint8_t presetOfOperation() const;
    void finish(int slot, bool ok);
    void sleep(uint32_t ms) const;

    Link& m_link;
    mutable std::mutex m_mutex;
    std::string m_fileName;
    Outcome m_outcome;
};
