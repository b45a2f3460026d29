#include "link/mirror.h"

#include "link/frame.h"

bool Mirror::clearPendingIf(Entry& e, uint32_t word) {
    return e.word.compare_exchange_strong(word, word & ~kPendingBit);
}

uint16_t Mirror::value(int index) const {
    return valid(index) ? valueOf(m_entries[index].word) : 0;
}

void Mirror::setPending(int index, uint16_t value) {
    if (!valid(index)) return;
    m_entries[index].word = value | kPendingBit;
    signalEdit();
}

void Mirror::requestRead(int index) {
    if (valid(index)) m_entries[index].readRequest = true;
}

bool Mirror::received(int index) const {
    return valid(index) && m_entries[index].received;
}
bool Mirror::pending(int index) const {
    return valid(index) && (m_entries[index].word & kPendingBit) != 0;
}
bool Mirror::readRequested(int index) const {
    return valid(index) && m_entries[index].readRequest;
}
int Mirror::retries(int index) const {
    return valid(index) ? m_entries[index].retries.load() : 0;
}

void Mirror::store(int index, uint16_t value) {
    if (!valid(index)) return;
    auto& word = m_entries[index].word;
    uint32_t old = word;
    while (!word.compare_exchange_weak(old, (old & kPendingBit) | value)) {
    }
}

void Mirror::setPendingMark(int index, bool pending) {
    if (!valid(index)) return;
    if (pending) {
        m_entries[index].word |= kPendingBit;
        signalEdit();
    } else {
        m_entries[index].word &= ~kPendingBit;
    }
}

void Mirror::setReceivedMark(int index, bool received) {
    if (valid(index)) m_entries[index].received = received;
}

bool Mirror::takeReceived(int index) {
    return valid(index) && m_entries[index].received.exchange(false);
}

bool Mirror::takeReadRequest(int index) {
    return valid(index) && m_entries[index].readRequest.exchange(false);
}

// The mark is stored before the flag is raised under the lock, so a scan that
// cleared the flag before this edit sees the mark, and one that cleared it after
// leaves the flag raised for the wait.
void Mirror::signalEdit() {
    {
        std::lock_guard lock(m_editMutex);
        m_edited = true;
    }
    m_editWake.notify_one();
}

bool Mirror::waitForEdit(std::chrono::nanoseconds limit) {
    std::unique_lock lock(m_editMutex);
    return m_editWake.wait_for(lock, limit, [this] { return m_edited; });
}

void Mirror::clearEditSignal() {
    std::lock_guard lock(m_editMutex);
    m_edited = false;
}

void Mirror::zero() {
    for (auto& e : m_entries) {
        e.word = 0;
        e.retries = 0;
        e.received = false;
        e.readRequest = false;
    }
    m_writeCursor = 1;
    m_readCursor = 0;
}

void Mirror::clearReceivedAndRetries() {
    for (int i = 0; i < kSize; ++i) {
        m_entries[i].received = false;
        m_entries[i].retries = 0;
    }
}

void Mirror::clearReceivedAndPending() {
    for (int i = 0; i < kSize; ++i) {
        m_entries[i].received = false;
        m_entries[i].word &= ~kPendingBit;
    }
}

void Mirror::clearAllRetries() {
    for (int i = 0; i < kSize; ++i) m_entries[i].retries = 0;
}

int Mirror::countReceived() const {
    int n = 0;
    for (int i = 0; i < kSize; ++i) n += m_entries[i].received ? 1 : 0;
    return n;
}

int Mirror::countNotPending() const {
    int n = 0;
    for (int i = 0; i < kSize; ++i) n += (m_entries[i].word & kPendingBit) == 0;
    return n;
}

std::vector<uint8_t> Mirror::takeWriteBatch(int start, int n) {
    std::vector<uint8_t> payload;
    if (start != kContinue) m_writeCursor = wrap(start);
    if (n <= 0) return payload;
    int index = m_writeCursor;
    for (int examined = 0; examined < kSize && n > 0; ++examined) {
        Entry& e = m_entries[index];
        uint32_t word = e.word;
        if (word & kPendingBit) {
            Frame::putU16(payload, static_cast<uint16_t>(index));
            Frame::putU16(payload, valueOf(word));
            // The eleventh transmission is the last; a value edited meanwhile stays pending.
            if (e.retries.fetch_add(1) >= 10) {
                e.retries = 0;
                clearPendingIf(e, word);
            }
            --n;
        }
        index = (index + 1) % kSize;
    }
    m_writeCursor = index;
    return payload;
}

std::vector<uint8_t> Mirror::takeReadBatch(int start, int n) {
    std::vector<uint8_t> payload;
    if (start != kContinue) m_readCursor = wrap(start);
    if (n <= 0) return payload;
    int index = m_readCursor;
    for (int examined = 0; examined < kSize && n > 0 && payload.size() < 2 * kMaxReadIndices;
         ++examined) {
        if (!m_entries[index].received) {
            Frame::putU16(payload, static_cast<uint16_t>(index));
            --n;
        }
        index = (index + 1) % kSize;
    }
    m_readCursor = index;
    return payload;
}

bool Mirror::applyParameterReply(int index, uint16_t value) {
    if (!valid(index)) return false;
    // A pending entry holds an edit the device has not confirmed yet; an
    // older value from the device must not undo it (it would be written back).
    auto& word = m_entries[index].word;
    uint32_t old = word;
    while (!(old & kPendingBit) && !word.compare_exchange_weak(old, value)) {
    }
    m_entries[index].received = true;
    return !(old & kPendingBit) && old != value;
}

void Mirror::applyWriteAck(int index, uint16_t value) {
    if (!valid(index)) return;
    Entry& e = m_entries[index];
    uint32_t word = e.word;
    if (index == kPresence) {
        e.word &= ~kPendingBit;
        e.retries = 0;
    } else if (valueOf(word) == value && (word & kPendingBit) && clearPendingIf(e, word)) {
        e.retries = 0;
    }
}
