#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "files/preset_codec.h"
#include "files/preset_record.h"
#include "link/device_info.h"
#include "link/link_job.h"

class Link;

// The jobs around preset files and the device's modes that the supervisor
// runs in its steady loop: save the device's parameters to a preset file, send
// a preset file to the device, recall one of the device's modes, read and save
// a mode's name. Each request takes its inputs with it, so that nothing the
// link receives before the job runs (a new connection, mode name replies) can
// change them; a second request of the same job before it ran replaces the
// first one's inputs. A mode job whose slot was set without a request here
// takes the mode number from the mode operation word (and the name from the
// staging buffer) as it runs. Each job reports through message boxes, the
// progress dialog and link events.
//
// Make the object before the supervisor starts and keep it until the
// supervisor has stopped: the supervisor calls into it.
class PresetJobs {
public:
    static constexpr int kSaveToFileSlot = static_cast<int>(LinkJob::SaveToFile);
    static constexpr int kSendFileSlot = static_cast<int>(LinkJob::SendFile);
    static constexpr int kRecallSlot = static_cast<int>(LinkJob::Recall);
    static constexpr int kReadNameSlot = static_cast<int>(LinkJob::ReadName);
    static constexpr int kSaveNameSlot = static_cast<int>(LinkJob::SaveName);
    // How much of the 25-byte staging buffer the save command carries.
    static constexpr size_t kSentNameBytes = 20;

    // How the last job ended, for callers that see no message box.
    struct Outcome {
        uint64_t serial = 0;  // counts finished jobs
        int slot = 0;
        bool ok = false;
    };

    explicit PresetJobs(Link& link);

    // Any thread. The mode requests refuse numbers outside 1 to 16.
    void requestSaveToFile(const std::string& name);
    // Reads the file at once; the job sends the values read then.
    void requestSendFile(const std::string& name);
    bool requestRecall(int mode);
    bool requestReadName(int mode);
    bool requestSaveName(int mode, const std::string& name);

    Outcome lastOutcome() const;

    // Whether sending a file sets this index: the device keeps its own state
    // (current mode, mode operation, passwords and the like).
    static bool takenFromFile(int index);

    // The jobs; run on the supervisor thread.
    void saveToFile();
    void sendFile();
    void recall();
    void readName();
    void saveName();

private:
    struct FileToSend {
        std::string name;
        int loaded = 0;  // the result of reading it
        PresetCodec::Damage damage = PresetCodec::Damage::None;
        PresetRecord record;
    };
    struct NameToSave {
        int mode = 0;
        DeviceInfo::Name name{};
    };

    bool writeDeviceToFile(const std::string& name);
    bool sendValues(const PresetRecord& preset);
    void sendPendingUntilDone();
    void finish(int slot, bool ok);
    void sleep(uint32_t ms) const;
    template <typename Input>
    Input taken(const Input& input) const {
        std::lock_guard lock(m_mutex);
        return input;
    }
    // The mode of a request (0 afterwards), else the low byte of the operation word.
    uint8_t takeMode(int& requested);

    Link& m_link;
    mutable std::mutex m_mutex;
    std::string m_saveFileName;
    FileToSend m_sendFile;
    int m_recallMode = 0;
    int m_readNameMode = 0;
    NameToSave m_saveName;
    Outcome m_outcome;
};
