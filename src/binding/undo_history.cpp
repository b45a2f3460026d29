#include "binding/undo_history.h"

#include <algorithm>
#include <map>

void UndoHistory::begin() {
    ++m_depth;
}

void UndoHistory::end() {
    if (m_depth == 0) return;
    if (--m_depth == 0) close();
}

void UndoHistory::markRepeatable(bool repeatable, uint32_t nowMs) {
    m_repeatable = repeatable;
    m_repeatAt = nowMs;
}

bool UndoHistory::joinsPrevious() const {
    if (!m_repeatable || !m_lastRepeated || m_undo.empty()) return false;
    if (m_repeatAt - m_lastAt >= kRepeatWindowMs) return false;
    const Step& last = m_undo.back();
    auto inLast = [&last](const Change& c) {
        return std::any_of(last.begin(), last.end(),
                           [&c](const Change& l) { return l.index == c.index; });
    };
    return last.size() == m_open.size() && std::all_of(m_open.begin(), m_open.end(), inLast);
}

void UndoHistory::close() {
    std::erase_if(m_open, [](const Change& c) { return c.before == c.after; });
    if (m_open.empty()) return;
    if (joinsPrevious()) {
        Step& last = m_undo.back();
        for (const Change& c : m_open)
            for (Change& l : last)
                if (l.index == c.index) l.after = c.after;
        std::erase_if(last, [](const Change& c) { return c.before == c.after; });
        if (last.empty()) m_undo.pop_back();
    } else {
        m_undo.push_back(std::move(m_open));
    }
    m_lastRepeated = m_repeatable;
    m_lastAt = m_repeatAt;
    m_open.clear();
    m_redo.clear();
    if (m_undo.size() > kMaxSteps) m_undo.pop_front();
}

void UndoHistory::record(int index, uint16_t before, uint16_t after) {
    if (m_depth == 0) {
        begin();
        if (m_groupHook)
            m_groupHook();
        else
            m_depth = 0;  // nobody will end it: the write is a step of its own
    }
    auto same = [index](const Change& c) { return c.index == index; };
    if (auto it = std::find_if(m_open.begin(), m_open.end(), same); it != m_open.end()) {
        it->after = after;
    } else {
        m_open.push_back({index, before, after});
    }
    if (m_depth == 0) close();
}

std::vector<std::pair<int, uint16_t>> UndoHistory::takeUndo() {
    if (m_depth > 0) {
        m_depth = 0;
        close();
    }
    m_lastRepeated = false;
    std::vector<std::pair<int, uint16_t>> writes;
    if (m_undo.empty()) return writes;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    for (auto it = step.rbegin(); it != step.rend(); ++it)
        writes.emplace_back(it->index, it->before);
    m_redo.push_back(std::move(step));
    return writes;
}

std::vector<std::pair<int, uint16_t>> UndoHistory::takeRedo() {
    if (m_depth > 0) {
        m_depth = 0;
        close();
    }
    m_lastRepeated = false;
    std::vector<std::pair<int, uint16_t>> writes;
    if (m_redo.empty()) return writes;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    for (const Change& c : step) writes.emplace_back(c.index, c.after);
    m_undo.push_back(std::move(step));
    return writes;
}

void UndoHistory::clear() {
    m_lastRepeated = false;
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
}

// The newest undo step that touched an index left it at its after value; an
// index only the redo steps touch is still at the oldest redo step's before.
bool UndoHistory::matches(const ValueOf& valueOf) const {
    std::map<int, uint16_t> expected;
    for (const Step& step : m_undo)
        for (const Change& c : step) expected[c.index] = c.after;
    for (const Change& c : m_open) expected[c.index] = c.after;
    for (auto step = m_redo.rbegin(); step != m_redo.rend(); ++step)
        for (const Change& c : *step) expected.try_emplace(c.index, c.before);
    return std::all_of(expected.begin(), expected.end(),
                       [&](const auto& e) { return valueOf(e.first) == e.second; });
}
