#include <gtest/gtest.h>

#include <map>

#include "binding/page_fields.h"
#include "binding/parameter_binding.h"
#include "binding/undo_history.h"
#include "link/mirror.h"

namespace {

class FakePage : public PageFields {
public:
    int getField(int field) const override {
        auto it = values.find(field);
        return it == values.end() ? 0 : it->second;
    }
    void setField(int field, int value) override { values[field] = value; }
    std::map<int, int> values;
};

constexpr int kMainGain0 = 75;        // page 0, field 30
constexpr int kRightGain0 = 75 + 68;  // its right channel follows
constexpr int kBackBands = 481;       // page 3's bands 0 to 7: 481 to 512

class UndoHistoryTest : public testing::Test {
protected:
    void SetUp() override {
        for (int p = 0; p < pageNumber::Count; ++p) binding.attach(p, &pages[p]);
        binding.setHistory(&history);
    }
    void edit(int page, int field, int value) {
        pages[page].values[field] = value;
        binding.controlChanged(page, field);
    }
    Mirror mirror;
    UndoHistory history;
    ParameterBinding binding{mirror};
    FakePage pages[pageNumber::Count];
};

}  // namespace

TEST_F(UndoHistoryTest, ADragIsOneStepAndUndoWritesTheOldValueThroughThePendingPath) {
    mirror.store(kMainGain0, 120);
    mirror.store(kRightGain0, 120);
    history.begin();
    for (int v = 121; v < 221; ++v) edit(0, 30, v);
    history.end();
    ASSERT_EQ(history.undoCount(), 1u);
    mirror.setPendingMark(kMainGain0, false);

    ASSERT_TRUE(binding.undo());
    EXPECT_EQ(mirror.value(kMainGain0), 120);
    EXPECT_EQ(mirror.value(kRightGain0), 120);
    EXPECT_TRUE(mirror.pending(kMainGain0));
    EXPECT_EQ(pages[0].values[30], 120) << "the field shows the undone value";
    EXPECT_FALSE(binding.undo());

    ASSERT_TRUE(binding.redo());
    EXPECT_EQ(mirror.value(kMainGain0), 220);
    EXPECT_EQ(pages[0].values[30], 220);
    EXPECT_EQ(history.undoCount(), 1u) << "undo and redo record nothing of their own";
}

TEST_F(UndoHistoryTest, UndoOfAPasteRestoresAllThirtyTwoFieldsAndTheMirror) {
    std::map<int, uint16_t> before;
    for (int k = 0; k < ParameterBinding::kCopyFields; ++k) {
        int field = ParameterBinding::copyField(k);
        pages[0].values[field] = 2000 + k;
        pages[3].values[field] = 100 + k;
    }
    for (int i = kBackBands; i < kBackBands + 32; ++i) {
        mirror.store(i, static_cast<uint16_t>(i));
        mirror.store(i + 68, static_cast<uint16_t>(i));
        before[i] = static_cast<uint16_t>(i);
    }
    binding.controlChanged(0, ParameterBinding::kCopyField);
    binding.controlChanged(3, ParameterBinding::kPasteField);
    ASSERT_EQ(history.undoCount(), 1u);

    ASSERT_TRUE(binding.undo());
    for (auto [index, value] : before) {
        EXPECT_EQ(mirror.value(index), value) << index;
        EXPECT_EQ(mirror.value(index + 68), value) << "back right follows, " << index;
    }
    for (int k = 0; k < ParameterBinding::kCopyFields; ++k) {
        int field = ParameterBinding::copyField(k);
        EXPECT_EQ(pages[3].values[field], mirror.value(BindingTable::indicesOf(3, field, {})[0]))
            << field;
    }
}

TEST_F(UndoHistoryTest, StepsFormAsTheGroupsSay) {
    struct Case {
        const char* name;
        bool hook;
        std::vector<int> values;  // successive edits of page 0 field 30, from 0
        size_t steps;
    };
    const Case cases[] = {
        {"ungrouped writes are a step each", false, {5, 6, 7}, 3},
        {"the hook's group takes them all", true, {5, 6, 7}, 1},
        {"a value set back is no step", true, {5, 0}, 0},
    };
    for (const Case& c : cases) {
        Mirror m;
        UndoHistory h;
        ParameterBinding b{m};
        FakePage page;
        b.attach(0, &page);
        b.setHistory(&h);
        int hooks = 0;
        if (c.hook) h.setGroupHook([&] { ++hooks; });
        for (int v : c.values) {
            page.values[30] = v;
            b.controlChanged(0, 30);
        }
        if (c.hook) h.end();
        EXPECT_EQ(h.undoCount(), c.steps) << c.name;
        EXPECT_EQ(hooks, c.hook ? 1 : 0) << c.name;
    }
}

TEST_F(UndoHistoryTest, ANewEditDropsTheRedoStepsAndUnrecordedWritesAreNoSteps) {
    edit(0, 30, 10);
    edit(0, 30, 20);
    binding.undo();
    ASSERT_TRUE(history.canRedo());
    edit(0, 31, 5);
    EXPECT_FALSE(history.canRedo());
    binding.setRecording(false);
    edit(0, 32, 5);
    EXPECT_EQ(history.undoCount(), 2u);
}

TEST_F(UndoHistoryTest, MatchesOnlyWhileTheDeviceHoldsWhatTheHistoryExpects) {
    edit(0, 30, 10);
    edit(0, 31, 20);
    binding.undo();
    auto valueOf = [this](int i) { return mirror.value(i); };
    EXPECT_TRUE(history.matches(valueOf));
    mirror.store(kMainGain0 + 4, 20);  // the undone value, back from the device
    EXPECT_FALSE(history.matches(valueOf));
    mirror.store(kMainGain0 + 4, 0);
    mirror.store(kMainGain0, 11);
    EXPECT_FALSE(history.matches(valueOf));
    history.clear();
    EXPECT_TRUE(history.matches(valueOf));
    EXPECT_FALSE(binding.undo());
}

TEST(UndoNudges, WheelNotchesAndArrowKeysOnOneParameterWithinASecondAreOneStep) {
    struct Nudge {
        int index;
        uint16_t after;
        uint32_t atMs;
        bool repeatable = true;
    };
    struct Case {
        const char* name;
        std::vector<Nudge> nudges;  // every parameter starts at 0
        size_t steps;
    };
    const Case cases[] = {
        {"five notches", {{7, 1, 0}, {7, 2, 300}, {7, 3, 600}, {7, 4, 900}, {7, 5, 1200}}, 1},
        {"a pause of a second", {{7, 1, 0}, {7, 2, 1000}}, 2},
        {"another parameter", {{7, 1, 0}, {8, 1, 100}}, 2},
        {"a click between", {{7, 1, 0}, {7, 2, 100, false}, {7, 3, 200}}, 3},
        {"there and back", {{7, 1, 0}, {7, 0, 100}}, 0},
    };
    for (const Case& c : cases) {
        UndoHistory h;
        std::map<int, uint16_t> values;
        for (const Nudge& n : c.nudges) {
            h.markRepeatable(n.repeatable, n.atMs);
            h.record(n.index, values[n.index], n.after);
            values[n.index] = n.after;
        }
        EXPECT_EQ(h.undoCount(), c.steps) << c.name;
    }
    // Undo takes the whole run back to where it began, and a nudge after it starts afresh.
    UndoHistory h;
    for (uint16_t v = 1; v <= 5; ++v) {
        h.markRepeatable(true, v * 100u);
        h.record(7, uint16_t(v - 1), v);
    }
    EXPECT_EQ(h.takeUndo(), (std::vector<std::pair<int, uint16_t>>{{7, 0}}));
    h.markRepeatable(true, 600);
    h.record(7, 0, 1);
    EXPECT_EQ(h.undoCount(), 1u);
    EXPECT_EQ(h.redoCount(), 0u);
}
