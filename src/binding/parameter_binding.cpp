#include "binding/parameter_binding.h"

#include <algorithm>
#include <utility>

#include "binding/link_table.h"
#include "binding/microphone_choice.h"
#include "binding/page_fields.h"
#include "binding/parameter_index.h"
#include "binding/undo_history.h"
#include "link/mirror.h"

void ParameterBinding::attach(int target, PageFields* fields) {
    if (target >= 0 && target < BindingTable::kTargets)
        m_targets[static_cast<size_t>(target)] = fields;
}

PageFields* ParameterBinding::fieldsOf(int target) const {
    if (target < 0 || target >= BindingTable::kTargets) return nullptr;
    return m_targets[static_cast<size_t>(target)];
}

BindingTable::Microphones ParameterBinding::microphones() const {
    return m_microphones ? m_microphones->microphones() : BindingTable::Microphones{};
}

void ParameterBinding::writeParameter(int index, uint16_t value) {
    if (!Mirror::valid(index) || !m_writable) return;
    if (m_history && m_recording) m_history->record(index, m_mirror.value(index), value);
    m_mirror.store(index, value);
    LinkTable::apply(m_mirror);
    m_mirror.setPending(index, value);
    // The header clamps to what the system page has just set, not only to what the device reported.
    updateLimits(index, value);
}

ParameterBinding::Outcome ParameterBinding::controlChanged(int page, int field) {
    PageFields* fields = fieldsOf(page);
    if (!fields || page == BindingTable::kHeader) return Outcome::Nothing;
    bool outputPage = pageNumber::isOutput(page);
    if (outputPage && field == kCopyField) {
        copy(page);
        return Outcome::Copied;
    }
    if (outputPage && field == kPasteField) return paste(page);
    std::vector<int> indices = BindingTable::indicesOf(page, field, microphones());
    if (indices.empty()) return Outcome::Nothing;
    auto value = static_cast<uint16_t>(fields->getField(field));
    for (int index : indices) writeParameter(index, value);
    return Outcome::Written;
}

void ParameterBinding::copy(int page) {
    PageFields* fields = fieldsOf(page);
    for (int k = 0; k < kCopyFields; ++k)
        m_copy[static_cast<size_t>(k)] = fields->getField(copyField(k));
    m_copyValid = true;
}

// Every field first, then the writes: each write reads its field back as the
// page shows it.
ParameterBinding::Outcome ParameterBinding::paste(int page) {
    if (!m_copyValid) return Outcome::NothingToPaste;
    PageFields* fields = fieldsOf(page);
    for (int k = 0; k < kCopyFields; ++k)
        fields->setField(copyField(k), m_copy[static_cast<size_t>(k)]);
    if (m_history) m_history->begin();
    for (int k = 0; k < kCopyFields; ++k) controlChanged(page, copyField(k));
    if (m_history) m_history->end();
    return Outcome::Pasted;
}

bool ParameterBinding::undo() {
    return m_history && replay(m_history->takeUndo());
}

bool ParameterBinding::redo() {
    return m_history && replay(m_history->takeRedo());
}

bool ParameterBinding::replay(const std::vector<std::pair<int, uint16_t>>& writes) {
    bool recording = std::exchange(m_recording, false);
    for (auto [index, value] : writes) writeParameter(index, value);
    m_recording = recording;
    for (auto [index, value] : writes) indexRefresh(index);
    return !writes.empty();
}

void ParameterBinding::indexRefresh(int index) {
    if (!Mirror::valid(index)) return;
    int value = m_mirror.value(index);
    updateLimits(index, value);
    BindingTable::Target target = BindingTable::targetOf(index);
    if (!BindingTable::shows(target, microphones())) return;
    if (PageFields* fields = fieldsOf(target.page)) fields->setField(target.field, value);
}

void ParameterBinding::updateLimits(int index, int value) {
    int percent = std::clamp(value, 0, 100);
    switch (index) {
        case parameterIndex::MusicMax:
            m_limits.music = percent;
            break;
        case parameterIndex::MicMax:
            m_limits.mic = percent;
            break;
        case parameterIndex::MicBMax:
            m_limits.micB = percent;
            break;
        case parameterIndex::EffectMax:
            m_limits.effect = percent;
            break;
        default:
            break;
    }
}
