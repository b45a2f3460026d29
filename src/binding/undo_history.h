#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

// The user's edits as undoable steps. Each write of a parameter is recorded
// with the value it replaced; writes between begin() and the matching end()
// form one step, so a drag or a paste is undone at once. A write outside any
// group opens one, and the group hook (when given) arranges its end, for
// instance at the end of the current event.
class UndoHistory {
public:
    struct Change {
        int index;
        uint16_t before;
        uint16_t after;
    };
    using Step = std::vector<Change>;
    using ValueOf = std::function<uint16_t(int index)>;
    static constexpr size_t kMaxSteps = 500;

    // Nested groups: the outermost end() closes the step. A step whose
    // values all came back to where they were is not kept.
    void begin();
    void end();
    void setGroupHook(std::function<void()> hook) { m_groupHook = std::move(hook); }

    void record(int index, uint16_t before, uint16_t after);

    // The input now arriving is a repeated nudge (a wheel notch, an arrow
    // key) at nowMs, or not. A nudge's step joins the step before it when that
    // was a nudge of the same parameters less than a second earlier, so that
    // turning a wheel is undone at once as a drag is.
    void markRepeatable(bool repeatable, uint32_t nowMs = 0);
    static constexpr uint32_t kRepeatWindowMs = 1000;

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    size_t undoCount() const { return m_undo.size(); }
    size_t redoCount() const { return m_redo.size(); }
    // The (index, value) writes that take the newest step back or forward,
    // in the order to write them; empty when there is nothing to do. An open
    // group is closed first.
    std::vector<std::pair<int, uint16_t>> takeUndo();
    std::vector<std::pair<int, uint16_t>> takeRedo();

    void clear();
    // Whether every recorded parameter still holds the value the history
    // expects after its newest step.
    bool matches(const ValueOf& valueOf) const;

private:
    void close();
    bool joinsPrevious() const;

    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    Step m_open;
    int m_depth = 0;
    bool m_repeatable = false;    // the input being handled is a nudge
    uint32_t m_repeatAt = 0;      // ... and when it came
    bool m_lastRepeated = false;  // the newest step came from a nudge
    uint32_t m_lastAt = 0;        // ... that came then
    std::function<void()> m_groupHook;
};
