#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "binding/binding_table.h"
#include "binding/master_limits.h"

class MicrophoneChoice;
class Mirror;
class PageFields;
class UndoHistory;

// Between the pages and the parameter mirror: a changed field is written to
// its indices, a reported index is shown in its field. Every write from the
// user-interface side goes through writeParameter, which keeps the right
// channels of the output pairs in step. Also holds the output pages' copy
// buffer.
class ParameterBinding {
public:
    enum class Outcome { Nothing, Written, Copied, Pasted, NothingToPaste };
    static constexpr int kCopyFields = 32;
    static constexpr int kCopyField = 62;
    static constexpr int kPasteField = 63;

    explicit ParameterBinding(Mirror& mirror) : m_mirror(mirror) {}

    // Page (0 to 9) or BindingTable::kHeader; null detaches.
    void attach(int target, PageFields* fields);
    // Until one is given, MIC A alone is on.
    void setMicrophoneChoice(const MicrophoneChoice* choice) { m_microphones = choice; }

    // Nothing is written while the device's values are not known.
    void writeParameter(int index, uint16_t value);
    void setWritable(bool writable) { m_writable = writable; }
    bool writable() const { return m_writable; }
    // Writes are recorded there while one is given and recording is on.
    void setHistory(UndoHistory* history) { m_history = history; }
    void setRecording(bool on) { m_recording = on; }
    // Take the newest step back or forward through writeParameter, and show
    // the values in their fields; false when there was nothing to do.
    bool undo();
    bool redo();
    // A page has changed a field. Unknown pages and fields write nothing.
    Outcome controlChanged(int page, int field);
    // The device has reported the index: its field shows the mirror's value.
    void indexRefresh(int index);

    const MasterLimits& masterLimits() const { return m_limits; }
    const Mirror& mirror() const { return m_mirror; }

    // The copied fields in order: 0 to 7, 10 to 17, 20 to 27, 30 to 37.
    static int copyField(int k) { return 10 * (k / 8) + k % 8; }

private:
    PageFields* fieldsOf(int target) const;
    BindingTable::Microphones microphones() const;
    void copy(int page);
    Outcome paste(int page);
    void updateLimits(int index, int value);
    bool replay(const std::vector<std::pair<int, uint16_t>>& writes);

    Mirror& m_mirror;
    std::array<PageFields*, BindingTable::kTargets> m_targets{};
    std::array<int, kCopyFields> m_copy{};
    bool m_copyValid = false;
    MasterLimits m_limits;
    const MicrophoneChoice* m_microphones = nullptr;
    UndoHistory* m_history = nullptr;
    bool m_recording = true;
    bool m_writable = true;
};
