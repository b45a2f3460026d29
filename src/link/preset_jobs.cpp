#include "link/preset_jobs.h"

#include <algorithm>
#include <array>
#include <utility>

#include "files/preset_files.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_parameter_index.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"
#include "texts/link_texts.h"
#include "texts/preset_file_texts.h"

namespace {

constexpr auto kDeviceState = parameterIndex::DeviceState;

constexpr uint16_t kReadNameOperation = 0x0500;
constexpr uint16_t kRecallOperation = 0x0600;
constexpr uint16_t kSaveNameOperation = 0x0700;
constexpr int kAttempts = 3;
constexpr uint32_t kRecallWaitMs = 3100;
constexpr uint32_t kNameWaitMs = 2000;
// Sending a file ends when this many entries are no longer pending.
constexpr int kSentEnough = Mirror::kSize - 1;

bool validMode(int mode) {
    return mode >= 1 && mode <= DeviceInfo::kModes;
}

std::string damageText(PresetCodec::Damage damage) {
    using D = PresetCodec::Damage;
    switch (damage) {
        case D::TooShort:
            return presetfiletext::TooShort.get();
        case D::ForeignBytes:
            return presetfiletext::ForeignBytes.get();
        case D::Truncated:
            return presetfiletext::Truncated.get();
        case D::TooLarge:
            return presetfiletext::TooLarge.get();
        default:
            return presetfiletext::ChecksumMismatch.get();
    }
}

}  // namespace

PresetJobs::PresetJobs(Link& link) : m_link(link) {
    LinkSupervisor& supervisor = link.supervisor();
    supervisor.setJob(LinkJob::SaveToFile, [this] { saveToFile(); });
    supervisor.setJob(LinkJob::SendFile, [this] { sendFile(); });
    supervisor.setJob(LinkJob::Recall, [this] { recall(); });
    supervisor.setJob(LinkJob::ReadName, [this] { readName(); });
    supervisor.setJob(LinkJob::SaveName, [this] { saveName(); });
}

void PresetJobs::requestSaveToFile(const std::string& name) {
    {
        std::lock_guard lock(m_mutex);
        m_saveFileName = name;
    }
    m_link.supervisor().requestJob(LinkJob::SaveToFile);
}

void PresetJobs::requestSendFile(const std::string& name) {
    FileToSend file{name, PresetFiles::kPresetEmptyName, {}, {}};
    if (!name.empty()) {
        PresetFiles files;
        file.loaded = files.loadPreset(name);
        file.damage = files.damage();
        file.record = files.preset();
    }
    {
        std::lock_guard lock(m_mutex);
        m_sendFile = std::move(file);
    }
    m_link.supervisor().requestJob(LinkJob::SendFile);
}

bool PresetJobs::requestRecall(int mode) {
    if (!validMode(mode)) return false;
    {
        std::lock_guard lock(m_mutex);
        m_recallMode = mode;
    }
    m_link.mirror().setPending(Mirror::kModeOperation,
                               static_cast<uint16_t>(kRecallOperation + mode));
    m_link.supervisor().requestJob(LinkJob::Recall);
    return true;
}

bool PresetJobs::requestReadName(int mode) {
    if (!validMode(mode)) return false;
    {
        std::lock_guard lock(m_mutex);
        m_readNameMode = mode;
    }
    m_link.mirror().store(Mirror::kModeOperation, static_cast<uint16_t>(kReadNameOperation + mode));
    m_link.supervisor().requestJob(LinkJob::ReadName);
    return true;
}

bool PresetJobs::requestSaveName(int mode, const std::string& name) {
    if (!validMode(mode)) return false;
    {
        std::lock_guard lock(m_mutex);
        m_saveName = {mode, DeviceInfo::nameOf(name)};
    }
    m_link.mirror().store(Mirror::kModeOperation, static_cast<uint16_t>(kSaveNameOperation + mode));
    m_link.device().setStagingText(name);
    m_link.supervisor().requestJob(LinkJob::SaveName);
    return true;
}

PresetJobs::Outcome PresetJobs::lastOutcome() const {
    std::lock_guard lock(m_mutex);
    return m_outcome;
}

bool PresetJobs::takenFromFile(int index) {
    return Mirror::valid(index) &&
           std::find(kDeviceState.begin(), kDeviceState.end(), index) == kDeviceState.end();
}

void PresetJobs::finish(int slot, bool ok) {
    std::lock_guard lock(m_mutex);
    m_outcome = {m_outcome.serial + 1, slot, ok};
}

uint8_t PresetJobs::takeMode(int& requested) {
    std::lock_guard lock(m_mutex);
    int mode = std::exchange(requested, 0);
    if (mode == 0) mode = m_link.mirror().value(Mirror::kModeOperation) & 0xFF;
    return static_cast<uint8_t>(mode);
}

void PresetJobs::sleep(uint32_t ms) const {
    m_link.sleep(ms);
}

void PresetJobs::saveToFile() {
    sleep(10);
    const std::string name = taken(m_saveFileName);
    if (name.empty()) {
        m_link.message(linktext::EnterFileName);
        finish(kSaveToFileSlot, false);
        return;
    }
    bool ok = writeDeviceToFile(name);
    finish(kSaveToFileSlot, ok);
}

bool PresetJobs::writeDeviceToFile(const std::string& name) {
    Mirror& mirror = m_link.mirror();
    // A file must hold the device's values only, never an entry it did not deliver.
    if (!m_link.supervisor().fullRead() || mirror.countReceived() < Mirror::kSize) {
        m_link.message(linktext::SaveFailed);
        return false;
    }
    std::vector<uint16_t> values(Mirror::kSize);
    for (int i = 0; i < Mirror::kSize; ++i) {
        values[static_cast<size_t>(i)] = mirror.value(i);
        mirror.setReceivedMark(i, false);
    }
    PresetFiles file;
    file.preset().deviceMagic = m_link.device().magic;
    if (file.savePreset(name, values) != PresetFiles::kPresetOk) {
        m_link.message(linktext::SaveFailed);
        return false;
    }
    m_link.message(file.lastSavedPath(), linktext::SaveSuccessful.get());
    return true;
}

void PresetJobs::sendFile() {
    sleep(10);
    const FileToSend file = taken(m_sendFile);
    bool ok = false;
    if (file.name.empty()) {
        m_link.message(linktext::EnterFileName);
    } else if (file.loaded == PresetFiles::kPresetCorrupt) {
        m_link.message(formatText(presetfiletext::FileDamaged, file.name.c_str(),
                                  damageText(file.damage).c_str()));
    } else if (file.loaded != PresetFiles::kPresetOk) {
        m_link.message(linktext::NoFiles);
    } else if (file.record.passwordMark != 0) {
        m_link.progress().hide();
        m_link.message(linktext::DataHasPassword);
        finish(kSendFileSlot, false);
        return;
    } else if (file.record.deviceMagic != m_link.device().magic) {
        m_link.message(linktext::WrongFileVersion);
    } else {
        ok = sendValues(file.record);
        m_link.ui().postEvent(LinkEvent::ValuesReplaced, kSendFileSlot);
    }
    m_link.progress().hide();
    if (!m_link.state().alive()) {
        m_link.message(linktext::WriteDataFailed);
        ok = false;
    }
    finish(kSendFileSlot, ok);
}

bool PresetJobs::sendValues(const PresetRecord& preset) {
    Mirror& mirror = m_link.mirror();
    LinkProgress& progress = m_link.progress();
    // The last value of a file is never sent.
    const int count =
        static_cast<int>(std::min<size_t>(preset.values.size(), Mirror::kSize + 1)) - 1;
    for (int i = 0; i < count; ++i)
        if (takenFromFile(i))
            mirror.setPending(i, static_cast<uint16_t>(preset.values[static_cast<size_t>(i)]));

    progress.setMaximum(Mirror::kSize);
    progress.setFormat(linktext::UpdateSceneProgress);
    progress.setPosition(0);
    progress.show();
    mirror.clearAllRetries();
    m_link.sendWriteBatch(1, Mirror::kMaxWriteBatch);
    sendPendingUntilDone();

    sleep(100);
    bool read = m_link.supervisor().fullReadWithNotification();
    return read && m_link.state().alive();
}

void PresetJobs::sendPendingUntilDone() {
    Mirror& mirror = m_link.mirror();
    LinkState& state = m_link.state();
    LinkProgress& progress = m_link.progress();
    while (state.alive() && state.running()) {
        for (int i = 0; i < Mirror::kSize - 1 && state.alive(); ++i) {
            if (mirror.takeReceived(i)) m_link.ui().postEvent(LinkEvent::ParameterReceived, i);
            if (!mirror.pending(i)) continue;
            m_link.requestBatch(Command::WriteParameters,
                                mirror.takeWriteBatch(Mirror::kContinue, Mirror::kMaxWriteBatch),
                                static_cast<uint32_t>(state.timing.bulkWriteWait.load()));
            progress.setPosition(mirror.countNotPending());
        }
        int done = mirror.countNotPending();
        progress.setPosition(done);
        sleep(5);
        if (done >= kSentEnough) break;
    }
}

void PresetJobs::recall() {
    // Taken first: a name reply may rewrite the operation word at any time.
    const uint8_t mode = takeMode(m_recallMode);
    Mirror& mirror = m_link.mirror();
    DeviceInfo& device = m_link.device();
    LinkProgress& progress = m_link.progress();
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.show();
    progress.setFormat(std::string(linktext::Call.get()) + "...");

    mirror.setPending(Mirror::kModeOperation, static_cast<uint16_t>(kRecallOperation | mode));
    device.recallConfirmed = false;
    for (int attempt = 0; attempt < kAttempts && !device.recallConfirmed; ++attempt)
        m_link.request(Command::RecallMode, {mode}, kRecallWaitMs);
    if (!device.recallConfirmed) {
        // The operation word stays pending, so the steady loop writes it as a parameter.
        progress.hide();
        m_link.message(linktext::RecallFailed);
        finish(kRecallSlot, false);
        return;
    }
    mirror.store(Mirror::kModeOperation, 0);
    mirror.setPendingMark(Mirror::kModeOperation, false);
    sleep(200);
    bool ok = m_link.supervisor().fullReadWithNotification();
    m_link.ui().postEvent(LinkEvent::ReadComplete, 0);
    m_link.ui().postEvent(LinkEvent::ValuesReplaced, kRecallSlot);
    finish(kRecallSlot, ok);
}

void PresetJobs::readName() {
    DeviceInfo& device = m_link.device();
    const uint8_t mode = takeMode(m_readNameMode);
    device.nameReplied = false;
    sleep(10);
    for (int attempt = 0; attempt < kAttempts && !device.nameReplied; ++attempt)
        m_link.request(Command::ReadModeName, {mode}, kNameWaitMs);
    finish(kReadNameSlot, device.nameReplied);
}

void PresetJobs::saveName() {
    DeviceInfo& device = m_link.device();
    const NameToSave save = taken(m_saveName);
    const DeviceInfo::Name name = save.mode ? save.name : device.staging();
    std::vector<uint8_t> payload(1 + PresetJobs::kSentNameBytes);
    payload[0] = takeMode(m_saveName.mode);
    std::copy_n(name.begin(), PresetJobs::kSentNameBytes, payload.begin() + 1);
    device.nameSaved = false;
    for (int attempt = 0; attempt < kAttempts && !device.nameSaved; ++attempt)
        m_link.request(Command::SaveModeName, payload, kNameWaitMs);
    const bool ok = device.nameSaved;
    if (ok) {
        m_link.supervisor().readModeNames(0);
        m_link.message(linktext::SaveSuccessful);
    } else {
        m_link.message(linktext::SaveFailed);
    }
    m_link.mirror().setPendingMark(Mirror::kModeOperation, false);
    finish(kSaveNameSlot, ok);
}
