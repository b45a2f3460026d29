#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/link_parameter_index.h"

// The PC's copy of the device's 1746 parameters, with the marks that drive
// synchronisation: pending (still to be written), received (delivered by the
// device, not yet told to the window) and read request. Each field is atomic
// on its own; the protocol tolerates a value changing between send and echo.
class Mirror {
public:
    static constexpr int kSize = 1746;
    static constexpr int kStorage = 1756;
    static constexpr int kContinue = 0xFFFF;  // batch start: continue at the cursor
    static constexpr int kMaxWriteBatch = 24;
    static constexpr int kMaxReadIndices = 25;
    static constexpr uint16_t kDeviceMagic = 22356;

    // Indices with a fixed role in the link.
    static constexpr int kMagic = parameterIndex::Magic;
    static constexpr int kCurrentMode = parameterIndex::CurrentMode;
    static constexpr int kModeOperation = parameterIndex::ModeOperation;
    static constexpr int kPresence = parameterIndex::Presence;

    static bool valid(int index) { return index >= 0 && index < kSize; }

    // For the user interface.
    uint16_t value(int index) const;
    void setPending(int index, uint16_t value);  // store the value and mark it pending
    void requestRead(int index);

    bool received(int index) const;
    bool pending(int index) const;
    bool readRequested(int index) const;
    int retries(int index) const;

    // Lower-level edits for the link's jobs and tests.
    void store(int index, uint16_t value);
    void setPendingMark(int index, bool pending);
    void setReceivedMark(int index, bool received);
    bool takeReceived(int index);     // clears the mark; true when it was set
    bool takeReadRequest(int index);  // clears the request; true when it was set

    // For the link supervisor.
    void zero();
    void clearReceivedAndRetries();
    void clearReceivedAndPending();
    void clearAllRetries();
    int countReceived() const;
    int countNotPending() const;
    int countPending() const { return kSize - countNotPending(); }
    // Waits up to `limit` for an entry to be marked pending after the last
    // clearEditSignal(); true when one was. A scan for pending entries clears
    // first, so that an edit it may have missed still ends the next wait.
    bool waitForEdit(std::chrono::nanoseconds limit);
    void clearEditSignal();
    // Ends the current wait as an edit would; Stop uses it too.
    void signalEdit();
    // Payload of one Write parameters frame: up to n pending entries from start
    // (or the write cursor), 4 bytes each. An entry leaves the pending state
    // after its eleventh transmission.
    std::vector<uint8_t> takeWriteBatch(int start, int n);
    // Payload of one Read parameters frame: up to n (at most 25) indices not yet received.
    std::vector<uint8_t> takeReadBatch(int start, int n);
    int writeCursor() const { return m_writeCursor; }
    int readCursor() const { return m_readCursor; }
    void setReadCursor(int index) { m_readCursor = wrap(index); }

    // For the frame parser.
    void applyParameterReply(int index, uint16_t value);
    void applyWriteAck(int index, uint16_t value);

private:
    // Value and pending mark share one word, so that an echo of an older value
    // can never clear the mark of a newer edit made at the same moment.
    static constexpr uint32_t kPendingBit = 1u << 16;
    struct Entry {
        std::atomic<uint32_t> word{0};
        std::atomic<uint8_t> retries{0};
        std::atomic<bool> received{false};
        std::atomic<bool> readRequest{false};
    };
    static uint16_t valueOf(uint32_t word) { return static_cast<uint16_t>(word); }
    // Clears the pending mark if the entry still holds word; false when it changed.
    static bool clearPendingIf(Entry& e, uint32_t word);

    static int wrap(int index) { return valid(index) ? index : 0; }

    std::array<Entry, kStorage> m_entries;
    int m_writeCursor = 1;
    int m_readCursor = 0;
    std::mutex m_editMutex;
    std::condition_variable m_editWake;
    bool m_edited = false;
};
