#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <vector>

#include "binding/parameter_binding.h"
#include "link/mirror.h"
#include "pages/effect_page.h"
#include "pages/input_page.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "texts/language.h"

namespace {

// An input or effect page at design size in a plain window, recording the
// fields it reports.
class EqualiserPagesTest : public testing::Test {
protected:
    template <class Page>
    Page& open(int pageIndex) {
        Language::set(Language::English);
        root = std::make_unique<QWidget>();
        root->resize(1077, 681);
        auto* made = new Page(pageIndex, root.get());
        page = made;
        page->setGeometry(0, 109, 1077, 572);
        page->setChangeHandler([this](int p, int field) {
            EXPECT_EQ(p, page->pageIndex());
            changes.push_back(field);
        });
        page->setBackgroundSource(&skin);
        root->show();
        processQueued();
        return *made;
    }

    struct Case {
        int field, received, sent;
    };
    void expectRoundTrips(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            page->setField(c.field, c.received);
            EXPECT_EQ(page->getField(c.field), c.sent) << c.field << " " << c.received;
        }
        EXPECT_TRUE(changes.empty());  // nothing from the device is reported back
    }

    DrawingSurface skin{QRect(0, 0, 1077, 681)};
    std::unique_ptr<QWidget> root;
    EqualiserPage* page = nullptr;
    std::vector<int> changes;
};

}  // namespace

TEST_F(EqualiserPagesTest, MicrophoneFieldsComeBackAsTheyWereOrAsTheNearestLegalOne) {
    open<InputPage>(6);
    expectRoundTrips({
        {17, 33758, 33758},
        {18, 101, 101},
        {47, 380, 380},
        {32, 71, 71},
        {19, 33000, 33002},
        {3, 44, 7},
        {60, 1, 1},
        {60, 0, 0},
        {73, 200, 200},
        {73, 680, 680},
        {73, 100, 200},
        {73, 445, 445},
        {74, 1000, 1000},
        {74, 200, 200},
        {74, 9999, 1000},
        {74, 5, 5},
        {75, 32, 32},
        {75, 33, 32},
        {76, 1000, 1000},
        {76, 5000, 1000},
        {76, 25, 28},
        {78, 32768, 32768},
        {78, 33165, 33169} /* between grid points */,
        {78, 303, 303},
        {78, 5000, 303},
        {80, 20600, 20600},
        {80, 5990, 5990},
        {80, 32768, 5990},
        {79, 26, 26},
        {79, 3, 26},
        {81, 31, 31},
        {81, 99, 23},
        {82, 2, 2},
        {82, 9, 3},
        {99, 5, 0},
    });
    EXPECT_EQ(page->slider(9).labelText(), "Threshold:   -5.5dBu");
}

TEST_F(EqualiserPagesTest, FilterAndCompressorSlidersSendTheirCodesAndTexts) {
    struct Case {
        int slider, position, field, sent;
        const char* text;
    };
    open<InputPage>(6);
    const Case cases[] = {
        {14, 0, 78, 32768, "HPF Freq:   OFF"},    {14, 1, 78, 0x80C5, "HPF Freq:   19.7Hz"},
        {14, 143, 78, 303, "HPF Freq:    303Hz"}, {15, 64, 80, 20600, "LPF Freq:   OFF"},
        {15, 0, 80, 5990, "LPF Freq:   5990Hz"},  {15, 51, 80, 16000, "LPF Freq:   16000Hz"},
        {9, 0, 73, 200, "Threshold:   -30.0dBu"}, {9, 48, 73, 680, "Threshold:   18.0dBu"},
        {10, 106, 74, 1000, "Attack:   100.0ms"}, {10, 107, 74, 1000, "Attack:   100.0ms"},
        {11, 7, 75, 32, "Release:   Atkx32ms"},   {12, 40, 76, 1000, "Ratio:   100.0"},
    };
    for (const Case& c : cases) {
        changes.clear();
        page->slider(c.slider).setValue(c.position);
        emit page->slider(c.slider).valueChanged(c.position);
        EXPECT_EQ(changes, std::vector<int>{c.field}) << c.slider;
        EXPECT_EQ(page->getField(c.field), c.sent) << c.slider << " " << c.position;
        EXPECT_EQ(page->slider(c.slider).labelText(), c.text);
    }
}

TEST_F(EqualiserPagesTest, RestKeepsQAndTypeAndGraphAndStripsStayInStep) {
    open<InputPage>(5);
    page->setField(30 + 4, 300);
    page->setField(4, 5);
    page->setField(45 + 4, 620);
    emit page->button(3).clicked();
    std::vector<int> expected;
    for (int j = 0; j < 15; ++j) expected.insert(expected.end(), {15 + j, 45 + j});
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(page->getField(30 + 4), 300);
    EXPECT_EQ(page->getField(4), 5);
    EXPECT_EQ(page->getField(45 + 4), 500);
    EXPECT_EQ(page->getField(15 + 4), 250);
    EXPECT_DOUBLE_EQ(page->graph().bandFrequency(14), 16000);
    // A band moved in the graph: the strip follows and four fields go out.
    changes.clear();
    page->graph().setBandGain(9, -6);
    emit page->graph().edited(0, 9);
    EXPECT_EQ(changes, (std::vector<int>{9, 54, 24, 39}));
    EXPECT_EQ(page->getField(54), 440);
    // "EQ PASS" bypasses; a slope from the device moves the graph and the combo.
    changes.clear();
    emit page->button(4).clicked();
    EXPECT_EQ(page->getField(60), 1);
    page->setField(79, 28);
    EXPECT_EQ(page->combo(0).selection(), 1);
    EXPECT_EQ(page->graph().model().highPassType(), 28);
    EXPECT_EQ(changes, std::vector<int>{60});
}

TEST_F(EqualiserPagesTest, SwitchingMicrophoneLoadsItsEntriesAndSendsNothing) {
    InputPage& mic = open<InputPage>(6);
    Mirror mirror;
    ParameterBinding binding(mirror);
    binding.attach(6, &mic);
    binding.setMicrophoneChoice(&mic);
    std::vector<int> refreshed;
    mic.setMirror(&mirror);
    mic.setIndexRefreshHandler([&](int index) { refreshed.push_back(index); });
    mirror.store(1357 + 8, 440);  // MIC B band 2 gain
    mirror.store(1264, 500);      // MIC B attack
    mirror.store(1258, 1);        // MIC B bypass

    // With MIC A selected a value for MIC B leaves the page alone.
    binding.indexRefresh(1258);
    EXPECT_EQ(mic.getField(60), 0);
    mic.button(InputPage::kMicBButton).setCheckType(2);  // the click toggles it first
    emit mic.button(6).clicked();
    EXPECT_EQ(mic.microphones().a, false);
    EXPECT_EQ(mic.microphones().b, true);
    EXPECT_EQ(mic.getField(47), 440);
    EXPECT_EQ(mic.getField(74), 500);
    EXPECT_EQ(mic.getField(60), 1);
    EXPECT_EQ(refreshed, std::vector<int>{1605});
    EXPECT_TRUE(changes.empty());

    // An edit now goes to MIC B alone.
    mic.slider(10).setValue(30);
    emit mic.slider(10).valueChanged(30);
    binding.controlChanged(6, changes.back());
    EXPECT_TRUE(mirror.pending(1264));
    EXPECT_FALSE(mirror.pending(1260));
}

TEST_F(EqualiserPagesTest, EffectFieldsAndTexts) {
    open<EffectPage>(7);
    expectRoundTrips({
        {50, 16320, 16320}, {48, 2400, 2400},   {48, 100, 100},     {50, 60000, 16320},
        {47, 48, 48},       {49, 90, 90},       {49, 200, 90},      {45, 580, 580},
        {45, 80, 80},       {46, 9999, 600},    {41, 32768, 32768}, {41, 1000, 1000},
        {41, 5000, 1000},   {42, 20600, 20600}, {43, 24, 24},       {44, 31, 31},
        {40, 1, 1},         {12, 33758, 33758}, {32, 380, 380},     {22, 71, 71},
        {54, 480, 0},       {55, 5000, 0},  // the reverb's fields
    });
    page->setField(48, 100);
    EXPECT_EQ(page->slider(5).labelText(), "Echo PreDelay:    2ms");
    page->setField(45, 580);
    EXPECT_TRUE(page->slider(0).toggleOn());
    EXPECT_EQ(page->slider(0).labelText(), "Echo Vol:    80%");
    page->setField(42, 20600);
    EXPECT_EQ(page->slider(4).labelText(), "LPF Freq:   OFF");
    page->setField(43, 30);
    EXPECT_EQ(page->combo(0).selection(), 5);
    EXPECT_EQ(page->graph().model().highPassType(), 30);

    open<EffectPage>(8);
    expectRoundTrips({{55, 5000, 5000}, {54, 3360, 3360}, {45, 540, 540}, {50, 960, 0}});
    EXPECT_EQ(page->slider(12).labelText(), "Reverb Time:5000ms");
    page->slider(3).setValue(205);
    emit page->slider(3).valueChanged(205);
    EXPECT_EQ(page->getField(41), 1000);
    emit page->button(3).clicked();
    EXPECT_EQ(page->getField(14), 8000);
    EXPECT_EQ(changes, (std::vector<int>{41, 10, 30, 11, 31, 12, 32, 13, 33, 14, 34}));
}
