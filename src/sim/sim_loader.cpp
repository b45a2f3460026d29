#include "sim/sim_loader.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t kAccepted = 0x80;
constexpr uint8_t kFinished = 0xFF;
constexpr int kTypes = 5;
}  // namespace

uint8_t SimLoader::start(uint8_t type) {
    if (type < 1 || type > kTypes) return 0;
    if (m_faults.refusedStarts > 0) {
        --m_faults.refusedStarts;
        return 0;
    }
    m_started = true;
    m_report = Report{};
    m_report.type = type;
    return static_cast<uint8_t>(type + kAccepted);
}

std::optional<uint32_t> SimLoader::block(uint32_t number, const uint8_t* data, size_t size) {
    if (!m_started || size < kBlock) return std::nullopt;
    if (number == m_faults.silentBlock && m_faults.silentTimes > 0) {
        --m_faults.silentTimes;
        return std::nullopt;
    }
    ++m_report.blocks;
    std::vector<uint8_t>& image = m_report.image;
    if (number == m_faults.wrongNumberBlock && m_faults.wrongNumberTimes > 0) {
        --m_faults.wrongNumberTimes;
        return number + kBlock;
    }
    // A block that skips ahead is answered with the one the loader waits for.
    if (number % kBlock != 0 || number > image.size()) return static_cast<uint32_t>(image.size());
    if (number == image.size()) {
        image.insert(image.end(), data, data + kBlock);
    } else if (std::memcmp(&image[number], data, kBlock) != 0) {
        m_report.consistent = false;
        std::copy_n(data, kBlock, image.begin() + number);
    }
    return number;
}

uint8_t SimLoader::finish() {
    // A finish repeated because its answer was lost gets the same answer.
    if (!m_started) return m_report.finished ? kFinished : 0;
    m_report.finished = m_started && m_report.consistent && !m_report.image.empty();
    m_started = false;
    return m_report.finished ? kFinished : 0;
}
