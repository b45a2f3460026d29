#include "link/firmware_upgrade.h"

#include <algorithm>

#include "link/link.h"
#include "link/link_job.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"
#include "texts/link_texts.h"
#include "texts/upgrade_texts.h"

namespace {

constexpr int kAttempts = 11;
constexpr int kFailureLimit = 11;
constexpr int kBlockTries = 100;
constexpr uint32_t kStartWaitMs = 2000;
constexpr uint32_t kBlockWaitMs = 5000;
constexpr uint32_t kFinishWaitMs = 2000;
constexpr uint32_t kStartAccepted = 0x80;
constexpr uint8_t kFinishByte = 0xFF;
constexpr uint32_t kNoAnswer = 0xFFFF;  // never a block number: those are multiples of 256
constexpr int kCommType = 3;
// Past the image's end a block is filled as erased flash reads.
constexpr uint8_t kPadding = 0xFF;

struct TypeInfo {
    LinkJob job;
    const char* wrongType;
};

// Indexed by package type.
constexpr TypeInfo kTypeInfo[FirmwareUpgrade::kTypes + 1] = {
    {LinkJob::UpgradeDsp1, ""},
    {LinkJob::UpgradeDsp1, upgradetext::kNotDsp1Package},
    {LinkJob::UpgradePanel, upgradetext::kNotPanelPackage},
    {LinkJob::UpgradeComm, upgradetext::kNotCommPackage},
    {LinkJob::UpgradeDsp4, upgradetext::kNotDsp4Package},
    {LinkJob::UpgradeDsp5, upgradetext::kNotDsp5Package},
};

bool validType(int type) {
    return type >= 1 && type <= FirmwareUpgrade::kTypes;
}

}  // namespace

FirmwareUpgrade::FirmwareUpgrade(Link& link) : m_link(link) {
    for (int type = 1; type <= kTypes; ++type)
        link.supervisor().setJob(kTypeInfo[type].job, [this, type] { run(type); });
}

const char* FirmwareUpgrade::wrongTypeText(int type) {
    return validType(type) ? kTypeInfo[type].wrongType : "";
}

const TextTriple& FirmwareUpgrade::problemText(UpgradePackage::Problem problem) {
    using P = UpgradePackage::Problem;
    switch (problem) {
        case P::TooShort:
            return upgradetext::PackageTooShort;
        case P::OddImage:
            return upgradetext::PackageOddImage;
        case P::AlphabetPastHeader:
            return upgradetext::PackageAlphabetPastHeader;
        case P::DuplicateSymbols:
            return upgradetext::PackageDuplicateSymbols;
        case P::EmptyImage:
            return upgradetext::PackageEmpty;
        case P::TooLarge:
            return upgradetext::PackageTooLarge;
        case P::ForeignSymbol:
            return upgradetext::PackageForeignSymbol;
        case P::UnknownType:
            return upgradetext::PackageUnknownType;
        default:
            return linktext::NoFiles;
    }
}

void FirmwareUpgrade::setFileName(int type, const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (validType(type)) m_files[type] = name;
}

std::string FirmwareUpgrade::fileName(int type) const {
    std::lock_guard lock(m_mutex);
    return validType(type) ? m_files[type] : std::string();
}

bool FirmwareUpgrade::request(int type, const std::string& file) {
    if (!validType(type)) return false;
    setFileName(type, file);
    // Raised here rather than by the job, so that an interrupt that comes
    // before the job begins is not lost.
    m_active = true;
    m_link.supervisor().requestJob(kTypeInfo[type].job);
    return true;
}

FirmwareUpgrade::Outcome FirmwareUpgrade::lastOutcome() const {
    std::lock_guard lock(m_mutex);
    return m_outcome;
}

void FirmwareUpgrade::sleep(uint32_t ms) const {
    m_link.sleep(ms);
}

void FirmwareUpgrade::end(int type, Result result, const std::string& message) {
    m_active = false;
    if (!message.empty() && m_link.state().running()) m_link.message(message);
    std::lock_guard lock(m_mutex);
    m_outcome = {m_outcome.serial + 1, type, result};
}

void FirmwareUpgrade::run(int type) {
    m_acknowledged = 0;
    if (!active()) return end(type, Result::Interrupted, upgradetext::kInterrupted);
    const std::string name = fileName(type);
    UpgradePackage package;
    UpgradePackage::Problem problem = package.load(name);
    if (problem == UpgradePackage::Problem::CannotOpen)
        return end(type, Result::CannotOpen,
                   std::string(upgradetext::kOpenPrefix) + name + upgradetext::kOpenSuffix);
    if (problem != UpgradePackage::Problem::None)
        return end(type, Result::BadPackage, problemText(problem).get());
    if (package.type() != type) return end(type, Result::WrongType, wrongTypeText(type));

    const std::vector<uint8_t>& image = package.image();
    LinkProgress& progress = m_link.progress();
    progress.setMaximum(static_cast<int>(image.size()));
    progress.setPosition(0);
    progress.show();
    progress.setFormat(linktext::UpgradeProgress);

    if (!startUpgrade(type)) {
        progress.hide();
        return end(type, Result::Failed, upgradetext::kFailed);
    }
    if (type == kCommType) reconnectIntoLoader();
    sleep(1000);

    Result sent = sendImage(image);
    progress.hide();
    if (sent == Result::Interrupted) return end(type, sent, upgradetext::kInterrupted);
    if (sent != Result::Succeeded) return end(type, sent, upgradetext::kFailed);
    sleep(10);
    if (!finishUpgrade()) return end(type, Result::Failed, upgradetext::kFailed);
    end(type, Result::Succeeded, upgradetext::kSucceeded);
}

bool FirmwareUpgrade::attempt(Command command, uint8_t byte, uint32_t expected, uint32_t waitMs) {
    DeviceInfo& device = m_link.device();
    for (int k = 0; k < kAttempts && m_link.state().running(); ++k) {
        device.upgradeResponse = 0;
        m_link.request(command, {byte}, waitMs);
        if (device.upgradeResponse == expected) return true;
    }
    return false;
}

bool FirmwareUpgrade::startUpgrade(int type) {
    return attempt(Command::UpgradeStart, static_cast<uint8_t>(type),
                   static_cast<uint32_t>(type) + kStartAccepted, kStartWaitMs);
}

bool FirmwareUpgrade::finishUpgrade() {
    return attempt(Command::UpgradeFinish, kFinishByte, kFinishByte, kFinishWaitMs);
}

// The communication module restarts into its loader and must be found again.
void FirmwareUpgrade::reconnectIntoLoader() {
    sleep(1000);
    m_link.state().linkAlive = false;
    m_link.search(m_link.state().transportType);
}

FirmwareUpgrade::Result FirmwareUpgrade::sendImage(const std::vector<uint8_t>& image) {
    int failures = 0;
    for (size_t pos = 0; pos < image.size(); pos += kBlockSize) {
        if (!active()) return Result::Interrupted;
        m_link.progress().setPosition(static_cast<int>(pos));
        if (sendPass(image, pos, failures) != Pass::Done) return Result::Failed;
    }
    return Result::Succeeded;
}

FirmwareUpgrade::Pass FirmwareUpgrade::sendPass(const std::vector<uint8_t>& image, size_t pos,
                                                int& failures) {
    DeviceInfo& device = m_link.device();
    size_t j = 0;
    int tries = 0;
    while (j < kBlockSize / kBlock && pos + kBlock * j < image.size()) {
        if (!m_link.state().running()) return Pass::Stopped;
        const size_t number = pos + kBlock * j;
        device.upgradeResponse = kNoAnswer;
        bool answered = sendBlock(image, number);
        if (answered && device.upgradeResponse == number) {
            m_acknowledged = std::min(number + kBlock, image.size());
            ++j;
            tries = 0;
            continue;
        }
        if (++failures >= kFailureLimit || ++tries >= kBlockTries) return Pass::Failed;
        // Another number means the device lost its place: the pass starts over.
        if (answered) j = 0;
    }
    return Pass::Done;
}

bool FirmwareUpgrade::sendBlock(const std::vector<uint8_t>& image, size_t number) {
    std::vector<uint8_t> payload(3 + kBlock, kPadding);
    payload[0] = static_cast<uint8_t>(number >> 16);
    payload[1] = static_cast<uint8_t>(number >> 8);
    payload[2] = static_cast<uint8_t>(number);
    const size_t count = std::min(kBlock, image.size() - number);
    std::copy_n(image.begin() + static_cast<long>(number), count, payload.begin() + 3);
    return m_link.request(Command::UpgradeBlock, payload, kBlockWaitMs);
}
