#include <gtest/gtest.h>

#include <map>
#include <set>

#include "binding/link_table.h"
#include "binding/microphone_choice.h"
#include "binding/page_fields.h"
#include "binding/parameter_binding.h"
#include "link/mirror.h"

namespace {

// A page that holds its fields as plain numbers.
class FakePage : public PageFields {
public:
    int getField(int field) const override {
        auto it = values.find(field);
        return it == values.end() ? 0 : it->second;
    }
    void setField(int field, int value) override {
        values[field] = value;
        shown.push_back({field, value});
    }
    std::map<int, int> values;
    std::vector<std::pair<int, int>> shown;
};

std::set<int> pendingIndices(const Mirror& m) {
    std::set<int> out;
    for (int i = 0; i < Mirror::kSize; ++i)
        if (m.pending(i)) out.insert(i);
    return out;
}

class ParameterBindingTest : public testing::Test {
protected:
    void SetUp() override {
        for (int p = 0; p < pageNumber::Count; ++p) binding.attach(p, &pages[p]);
        binding.attach(BindingTable::kHeader, &header);
    }
    Mirror mirror;
    ParameterBinding binding{mirror};
    FakePage pages[pageNumber::Count];
    FakePage header;
};

}  // namespace

TEST(LinkTableTest, PairsAreDistinctAndNeverChain) {
    const auto& pairs = LinkTable::pairs();
    ASSERT_EQ(pairs.size(), 219u);
    std::set<int> sources, destinations;
    for (auto [s, d] : pairs) {
        EXPECT_TRUE(sources.insert(s).second) << s;
        EXPECT_TRUE(destinations.insert(d).second) << d;
    }
    for (int d : destinations) EXPECT_EQ(sources.count(d), 0u) << d;
    EXPECT_TRUE(destinations.count(1515 + 12));     // FL's echo at +1 feeds FR's at +2
    EXPECT_FALSE(destinations.count(2));            // the right mute is its own
    EXPECT_FALSE(destinations.count(65 + 68 + 3));  // user Q is not linked
}

TEST_F(ParameterBindingTest, FieldsWriteTheirIndices) {
    struct Case {
        int page, field, value;
        std::set<int> pending;
    };
    const Case cases[] = {
        {4, 32, 620, {219, 287}},  // band 2 gain, surround pair: left and its right partner
        {0, 43, 1, {2}},           // right mute: the partner only
        {0, 41, 1, {1}},
        {1, 48, 50, {}},  // user Q: the subwoofer page only
        {2, 48, 50, {408}},
        {2, 42, 1, {6}},
        {0, 42, 1, {}},     // a single-channel field on a pair page
        {3, 57, 96, {32}},  // back right delay
        {1, 58, 101, {338}},
        {0, 99, 1, {}},  // no such field
        {12, 0, 1, {}},  // no such page
        {BindingTable::kHeader, 1602, 560, {}},
    };
    for (const Case& c : cases) {
        Mirror fresh;
        ParameterBinding b(fresh);
        FakePage page;
        page.values[c.field] = c.value;
        b.attach(c.page, &page);
        b.controlChanged(c.page, c.field);
        EXPECT_EQ(pendingIndices(fresh), c.pending) << c.page << "/" << c.field;
        for (int i : c.pending) EXPECT_EQ(fresh.value(i), c.value);
    }
}

TEST_F(ParameterBindingTest, WriteParameterBringsRightChannelsIntoStep) {
    mirror.store(73, 7);
    mirror.store(141, 5);  // FR's band 0 type, reported differently
    binding.writeParameter(1602, 560);
    EXPECT_EQ(mirror.value(141), 7);
    EXPECT_TRUE(mirror.pending(141));
    EXPECT_TRUE(mirror.pending(1602));
    // Unlinked right values keep their own.
    mirror.store(10, 0);
    mirror.store(26, 99);
    binding.writeParameter(9, 300);
    EXPECT_EQ(mirror.value(10), 300);
    EXPECT_EQ(mirror.value(26), 99);
}

TEST_F(ParameterBindingTest, ReportedIndicesReachTheirFields) {
    struct Case {
        int index;
        int page, field;
    };
    const Case cases[] = {
        {219, 4, 32},
        {2, 0, 43},
        {26, 0, 57},
        {5, 1, 42},
        {408, 2, 48},
        {66, 0, 58},
        {1602, BindingTable::kHeader, 1602},
        {1637, BindingTable::kHeader, 1637},
        {609, 5, 60},
        {1433, 8, 54},
        {1615, 9, 1},
    };
    for (const Case& c : cases) {
        mirror.store(c.index, 1234);
        binding.indexRefresh(c.index);
        FakePage& target = c.page == BindingTable::kHeader ? header : pages[c.page];
        ASSERT_FALSE(target.shown.empty()) << c.index;
        EXPECT_EQ(target.shown.back(), std::make_pair(c.field, 1234)) << c.index;
    }
    // Linked right-channel entries and unbound ones are shown nowhere.
    for (int index : {287, 141, 18, 0, 1745, 1746, -1}) {
        EXPECT_FALSE(BindingTable::targetOf(index).valid()) << index;
        binding.indexRefresh(index);
    }
    EXPECT_EQ(pendingIndices(mirror), std::set<int>{});
}

TEST_F(ParameterBindingTest, PasteWritesTheCopiedBandsToTheOtherChannel) {
    EXPECT_EQ(binding.controlChanged(3, ParameterBinding::kPasteField),
              ParameterBinding::Outcome::NothingToPaste);
    EXPECT_TRUE(pendingIndices(mirror).empty());
    for (int k = 0; k < ParameterBinding::kCopyFields; ++k)
        pages[0].values[ParameterBinding::copyField(k)] = 1000 + k;
    EXPECT_EQ(binding.controlChanged(0, ParameterBinding::kCopyField),
              ParameterBinding::Outcome::Copied);
    EXPECT_EQ(binding.controlChanged(3, ParameterBinding::kPasteField),
              ParameterBinding::Outcome::Pasted);
    EXPECT_EQ(pages[3].shown.size(), 32u);
    std::set<int> expected;
    for (int i = 481; i <= 512; ++i) expected.insert(i);       // back left, bands 0 to 7
    for (int i = 481; i <= 512; ++i) expected.insert(i + 68);  // back right follows
    EXPECT_EQ(pendingIndices(mirror), expected);
    EXPECT_EQ(mirror.value(481), 1000);       // band 0 type
    EXPECT_EQ(mirror.value(483 + 68), 1024);  // back right band 0 gain
}

TEST_F(ParameterBindingTest, MasterLimitsFollowTheDevice) {
    EXPECT_EQ(binding.masterLimits().music, 100);
    const std::pair<int, int> reports[] = {{1615, 60}, {1611, 40}, {1613, 9999}, {1617, 0}};
    for (auto [index, value] : reports) {
        mirror.store(index, static_cast<uint16_t>(value));
        binding.indexRefresh(index);
    }
    EXPECT_EQ(binding.masterLimits().music, 60);
    EXPECT_EQ(binding.masterLimits().mic, 40);
    EXPECT_EQ(binding.masterLimits().micB, 100);
    EXPECT_EQ(binding.masterLimits().effect, 0);
}

namespace {

class FakeMicrophones : public MicrophoneChoice {
public:
    BindingTable::Microphones microphones() const override { return on; }
    BindingTable::Microphones on;
};

}  // namespace

TEST_F(ParameterBindingTest, MicrophoneEditsGoToTheMicrophonesThatAreOn) {
    struct Case {
        bool a, b;
        int field;
        std::set<int> pending;
    };
    const Case cases[] = {
        {false, true, 74, {1264}}, {true, false, 74, {1260}}, {true, true, 74, {1260, 1264}},
        {false, true, 17, {1364}}, {true, false, 47, {1285}}, {false, true, 82, {1437}},
        {false, false, 60, {}},
    };
    for (const Case& c : cases) {
        Mirror fresh;
        ParameterBinding b(fresh);
        FakePage page;
        FakeMicrophones mics;
        mics.on = {c.a, c.b};
        page.values[c.field] = 3;
        b.attach(pageNumber::Microphone, &page);
        b.setMicrophoneChoice(&mics);
        b.controlChanged(pageNumber::Microphone, c.field);
        EXPECT_EQ(pendingIndices(fresh), c.pending) << c.a << c.b << " " << c.field;
    }
}

TEST_F(ParameterBindingTest, TheMicrophonePageShowsOnlyTheSelectedMicrophone) {
    struct Case {
        bool a, b;
        int index;
        int field;  // -1: the page stays as it is
    };
    const Case cases[] = {
        {true, false, 1260, 74}, {false, true, 1260, -1}, {false, true, 1264, 74},
        {true, false, 1258, -1}, {true, true, 1277, -1},  {true, true, 1357, 45},
        {true, true, 1262, 73},  {false, true, 1437, 82}, {true, false, 1437, 82},
    };
    FakeMicrophones mics;
    ParameterBinding binding(mirror);
    FakePage page;
    binding.attach(pageNumber::Microphone, &page);
    binding.setMicrophoneChoice(&mics);
    for (const Case& c : cases) {
        page.shown.clear();
        mics.on = {c.a, c.b};
        mirror.store(c.index, 77);
        binding.indexRefresh(c.index);
        if (c.field < 0)
            EXPECT_TRUE(page.shown.empty()) << c.index;
        else
            EXPECT_EQ(page.shown, (std::vector<std::pair<int, int>>{{c.field, 77}})) << c.index;
    }
}
