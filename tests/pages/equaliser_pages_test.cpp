#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <vector>

#include "binding/output_field_codec.h"
#include "binding/page_number.h"
#include "binding/parameter_binding.h"
#include "filter/frequency_table.h"
#include "link/mirror.h"
#include "pages/effect_page.h"
#include "pages/input_page.h"
#include "pages/output_page.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "texts/language.h"

namespace {

// Any page with bands at design size in a plain window, recording the
// fields it reports.
class EqualiserPagesTest : public testing::Test {
protected:
    EqualiserPage& open(int pageIndex) {
        Language::set(Language::English);
        root = std::make_unique<QWidget>();
        root->resize(1077, 681);
        changes.clear();
        if (pageNumber::isOutput(pageIndex))
            page = new OutputPage(pageIndex, root.get());
        else if (pageIndex <= pageNumber::Microphone)
            page = new InputPage(pageIndex, root.get());
        else
            page = new EffectPage(pageIndex, root.get());
        page->setGeometry(0, 109, 1077, 572);
        page->setChangeHandler([this](int p, int field) {
            EXPECT_EQ(p, page->pageIndex());
            changes.push_back(field);
        });
        page->setBackgroundSource(&skin);
        root->show();
        processQueued();
        return *page;
    }
    // Opens the page unless it is the one open.
    void show(int pageIndex) {
        if (!page || page->pageIndex() != pageIndex) open(pageIndex);
    }
    OutputPage& output() { return static_cast<OutputPage&>(*page); }

    DrawingSurface skin{QRect(0, 0, 1077, 681)};
    std::unique_ptr<QWidget> root;
    EqualiserPage* page = nullptr;
    std::vector<int> changes;
};

}  // namespace

TEST_F(EqualiserPagesTest, DeviceValuesComeBackAsTheyWereOrAsTheNearestLegalOne) {
    struct Case {
        int page, field, received, sent;
    };
    const Case cases[] = {
        // The front pair: levels, bands, bypass as "EQ on", mutes, delay,
        // limiter, crossovers and their types.
        {0, 44, 537, 537},
        {0, 44, 37, 37},
        {0, 44, 9999, 600},
        {0, 45, 0, 0},
        {0, 45, 257, 257},
        {0, 46, 25601, 25601},
        {0, 47, 65535, 25601},
        {0, 30, 260, 260},
        {0, 32, 620, 620},
        {0, 33, 9999, 620},
        {0, 10, 33758, 33758},
        {0, 11, 101, 101},
        {0, 12, 33021, 33021},
        {0, 13, 33000, 33002},
        {0, 20, 40, 40},
        {0, 21, 12800, 12800},
        {0, 0, 5, 5},
        {0, 1, 44, 7},
        {0, 40, 0, 0},
        {0, 40, 1, 1},
        {0, 41, 1, 1},
        {0, 43, 0, 0},
        {0, 51, 960, 960},
        {0, 57, 60000, 960},
        {0, 53, 445, 445},
        {0, 54, 1000, 1000},
        {0, 55, 33, 32},
        {0, 56, 1000, 1000},
        {0, 58, 32768, 32768},
        {0, 58, 101, 101},
        {0, 60, 33000, 33002},
        {0, 59, 28, 28},
        {0, 59, 63, 22},
        {0, 61, 27, 27},
        {0, 61, 36, 23},
        {0, 99, 5, 0},
        // The subwoofer keeps its user Q codes for the device.
        {2, 48, 60, 60},
        {2, 49, 150, 150},
        // The microphones: bands, bypass, compressor, filters, eliminator.
        {6, 17, 33758, 33758},
        {6, 18, 101, 101},
        {6, 47, 380, 380},
        {6, 32, 71, 71},
        {6, 19, 33000, 33002},
        {6, 3, 44, 7},
        {6, 60, 1, 1},
        {6, 60, 0, 0},
        {6, 73, 200, 200},
        {6, 73, 680, 680},
        {6, 73, 100, 200},
        {6, 74, 1000, 1000},
        {6, 74, 200, 200},
        {6, 74, 9999, 1000},
        {6, 74, 5, 5},
        {6, 75, 32, 32},
        {6, 75, 33, 32},
        {6, 76, 1000, 1000},
        {6, 76, 5000, 1000},
        {6, 76, 25, 28},
        {6, 78, 32768, 32768},
        {6, 78, 33165, 33169} /* between grid points */,
        {6, 78, 303, 303},
        {6, 78, 5000, 303},
        {6, 80, 20600, 20600},
        {6, 80, 5990, 5990},
        {6, 80, 32768, 5990},
        {6, 79, 26, 26},
        {6, 79, 3, 26},
        {6, 81, 31, 31},
        {6, 81, 99, 23},
        {6, 82, 2, 2},
        {6, 82, 9, 3},
        {6, 99, 5, 0},
        {6, 73, 445, 445},
        // Echo, then reverb, which lacks the echo's fields and has its own.
        {7, 50, 16320, 16320},
        {7, 48, 2400, 2400},
        {7, 48, 100, 100},
        {7, 50, 60000, 16320},
        {7, 47, 48, 48},
        {7, 49, 90, 90},
        {7, 49, 200, 90},
        {7, 45, 580, 580},
        {7, 45, 80, 80},
        {7, 46, 9999, 600},
        {7, 41, 32768, 32768},
        {7, 41, 1000, 1000},
        {7, 41, 5000, 1000},
        {7, 42, 20600, 20600},
        {7, 43, 24, 24},
        {7, 44, 31, 31},
        {7, 40, 1, 1},
        {7, 12, 33758, 33758},
        {7, 32, 380, 380},
        {7, 22, 71, 71},
        {7, 54, 480, 0},
        {7, 55, 5000, 0},
        {8, 55, 5000, 5000},
        {8, 54, 3360, 3360},
        {8, 45, 540, 540},
        {8, 50, 960, 0},
    };
    for (const Case& c : cases) {
        show(c.page);
        page->setField(c.field, c.received);
        EXPECT_EQ(page->getField(c.field), c.sent) << c.page << " " << c.field << " " << c.received;
        EXPECT_TRUE(changes.empty()) << c.page;  // nothing from the device is reported back
    }
}

TEST_F(EqualiserPagesTest, LabelsShowWhatTheFieldsHold) {
    struct Case {
        int page, field, value, slider;
        const char* text;
    };
    const Case cases[] = {
        {0, 44, 537, 0, "Music Output Vol:    37%"}, {0, 58, 32768, 14, "HPF Freq:   OFF"},
        {0, 60, 33758, 15, "LPF Freq:   99.0Hz"},    {0, 51, 960, 7, "Left-Delay:   20.0ms"},
        {6, 73, 445, 9, "Threshold:   -5.5dBu"},     {7, 48, 100, 5, "Echo PreDelay:    2ms"},
        {7, 45, 580, 0, "Echo Vol:    80%"},         {7, 42, 20600, 4, "LPF Freq:   OFF"},
        {8, 55, 5000, 12, "Reverb Time:5000ms"},
    };
    for (const Case& c : cases) {
        show(c.page);
        page->setField(c.field, c.value);
        EXPECT_EQ(page->slider(c.slider).labelText(), c.text) << c.page << " " << c.field;
    }
    show(0);
    page->setField(44, 537);
    EXPECT_TRUE(page->slider(0).toggleOn());
    page->setField(51, 960);
    EXPECT_EQ(output().caption(0).text(), "Delay distance:  6.92M");
    // Without their Q sliders the selectors offer six items, and the sliders stay away.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(output().selector(i).count(), 6);
        EXPECT_FALSE(page->slider(4 + i).isVisible());
    }
}

TEST_F(EqualiserPagesTest, SlidersSendTheirCodesAndTexts) {
    struct Case {
        int page, slider, position, field, sent;
        const char* text;
    };
    const Case cases[] = {
        {6, 14, 0, 78, 32768, "HPF Freq:   OFF"},    {6, 14, 1, 78, 0x80C5, "HPF Freq:   19.7Hz"},
        {6, 14, 143, 78, 303, "HPF Freq:    303Hz"}, {6, 15, 64, 80, 20600, "LPF Freq:   OFF"},
        {6, 15, 0, 80, 5990, "LPF Freq:   5990Hz"},  {6, 15, 51, 80, 16000, "LPF Freq:   16000Hz"},
        {6, 9, 0, 73, 200, "Threshold:   -30.0dBu"}, {6, 9, 48, 73, 680, "Threshold:   18.0dBu"},
        {6, 10, 106, 74, 1000, "Attack:   100.0ms"}, {6, 10, 107, 74, 1000, "Attack:   100.0ms"},
        {6, 11, 7, 75, 32, "Release:   Atkx32ms"},   {6, 12, 40, 76, 1000, "Ratio:   100.0"},
        {8, 3, 205, 41, 1000, "HPF Freq:   1000Hz"},
    };
    for (const Case& c : cases) {
        show(c.page);
        changes.clear();
        page->slider(c.slider).setValue(c.position);
        emit page->slider(c.slider).valueChanged(c.position);
        EXPECT_EQ(changes, std::vector<int>{c.field}) << c.slider;
        EXPECT_EQ(page->getField(c.field), c.sent) << c.slider << " " << c.position;
        EXPECT_EQ(page->slider(c.slider).labelText(), c.text);
    }
}

TEST_F(EqualiserPagesTest, PagesHaveTheirOwnControls) {
    struct Case {
        int page, sliders, buttons;
        std::vector<int> shownSliders, shownButtons;
    };
    const Case cases[] = {
        {0, 16, 5, {0, 1, 2, 3, 7, 9, 10, 11, 12, 13, 14, 15}, {0, 2, 3, 4}},
        {2, 16, 5, {0, 1, 2, 3, 8, 9, 10, 11, 12, 14, 15}, {1, 3, 4}},
        {5, 16, 8, {14, 15}, {3, 4}},
        {6, 16, 8, {9, 10, 11, 12, 14, 15}, {3, 4, 5, 6}},
        {7, 13, 5, {0, 1, 2, 3, 4, 5, 6, 7}, {3, 4}},
        {8, 13, 5, {0, 1, 3, 4, 11, 12}, {3, 4}},
    };
    for (const Case& c : cases) {
        open(c.page);
        std::vector<int> sliders, buttons;
        for (int k = 0; k < c.sliders; ++k)
            if (page->slider(k).isVisible()) sliders.push_back(k);
        for (int b = 0; b < c.buttons; ++b)
            if (page->button(b).isVisible()) buttons.push_back(b);
        EXPECT_EQ(sliders, c.shownSliders) << c.page;
        EXPECT_EQ(buttons, c.shownButtons) << c.page;
    }
}

// "REST" sets every band's frequency and gain; Q and type stay.
TEST_F(EqualiserPagesTest, RestResetsFrequenciesAndGains) {
    struct Case {
        int page, bands, frequencyField, qField, gainField;
        double first, last;
    };
    const Case cases[] = {
        {2, 8, 10, 20, 30, 25.3, 303},
        {5, 15, 15, 30, 45, 40.1, 16000},
        {8, 5, 10, 20, 30, 125, 8000},
    };
    for (const Case& c : cases) {
        open(c.page);
        for (int j = 0; j < c.bands; ++j) page->setField(c.gainField + j, 560);
        page->setField(c.qField + 1, 300);
        page->setField(1, 5);
        emit page->button(3).clicked();
        std::vector<int> expected;
        for (int j = 0; j < c.bands; ++j)
            expected.insert(expected.end(), {c.frequencyField + j, c.gainField + j});
        EXPECT_EQ(changes, expected) << c.page;
        EXPECT_EQ(page->getField(c.gainField + c.bands - 1), 500) << c.page;
        EXPECT_EQ(page->getField(c.qField + 1), 300) << c.page;
        EXPECT_EQ(page->getField(1), 5) << c.page;
        EXPECT_DOUBLE_EQ(page->strip(0).subValue(1), c.first) << c.page;
        EXPECT_DOUBLE_EQ(page->graph().bandFrequency(c.bands - 1), c.last) << c.page;
    }
}

TEST_F(EqualiserPagesTest, GraphAndStripsStayInStep) {
    struct Case {
        int page, frequencyField, qField, gainField, bypassField, eqOn;
        int highPassField, highPassCode, copyField, pasteField;
    };
    const Case cases[] = {
        {4, 10, 20, 30, 40, 1, 58, 32768 + 803, 62, 63},
        {5, 15, 30, 45, 60, 0, 78, 32768 + 803, -1, -1},
    };
    for (const Case& c : cases) {
        open(c.page);
        // A marker moved in the graph: the strip follows, four fields go out.
        page->graph().setBandGain(2, 6.5);
        page->graph().setBandFrequency(2, 1000);
        emit page->graph().edited(0, 2);
        EXPECT_EQ(changes,
                  (std::vector<int>{2, c.gainField + 2, c.frequencyField + 2, c.qField + 2}));
        EXPECT_DOUBLE_EQ(page->strip(2).subValue(0), 6.5);
        EXPECT_EQ(page->getField(c.frequencyField + 2), 1000);
        // A strip changed: the graph follows.
        changes.clear();
        page->strip(5).setSubValue(0, -3);
        emit page->strip(5).subValueChanged(0);
        EXPECT_EQ(changes, std::vector<int>{c.gainField + 5});
        EXPECT_DOUBLE_EQ(page->graph().bandGain(5), -3);
        // "EQ PASS" twice, a filter marker, and on the output pages Copy and Paste.
        changes.clear();
        emit page->button(4).clicked();
        EXPECT_EQ(page->getField(c.bypassField), 1 - c.eqOn);
        emit page->button(4).clicked();
        EXPECT_EQ(page->getField(c.bypassField), c.eqOn);
        page->graph().setCrossoverFrequency(0, 80);
        emit page->graph().edited(1, 0);
        EXPECT_EQ(page->getField(c.highPassField), c.highPassCode);
        std::vector<int> expected{c.bypassField, c.bypassField, c.highPassField};
        if (c.copyField >= 0) {
            emit page->graph().edited(3, 0);
            emit page->graph().edited(4, 0);
            expected.insert(expected.end(), {c.copyField, c.pasteField});
        }
        emit page->graph().edited(0, 15);  // no such band
        EXPECT_EQ(changes, expected) << c.page;
    }
}

// Every frequency a band can hold, the bottom of the grid included, reads the
// same in the strip's box, in the graph's label and in what goes back out.
TEST_F(EqualiserPagesTest, EveryBandFrequencyHasOneReading) {
    open(0);
    const SortedTable table = FrequencyTable::band();
    ASSERT_EQ(table.size(), FrequencyTable::kSize);
    for (int i = 0; i < table.size(); ++i) {
        const int code = FrequencyTable::codeOf(table[i]);
        page->setField(10, code);
        const QString box = page->strip(0).boxText(1);
        EXPECT_EQ(box.toDouble(), table[i]) << i;
        EXPECT_TRUE(QString::fromStdString(page->graph().model().labelText())
                        .startsWith(QStringLiteral("F:") + box + QLatin1Char(' ')))
            << i << " " << page->graph().model().labelText();
        EXPECT_EQ(page->getField(10), code) << i;
        EXPECT_EQ(OutputFieldCodec::bandFrequency(code), table[i]) << i;
    }
}

// A slope chosen or received moves the combo and the graph.
TEST_F(EqualiserPagesTest, SlopesGoToTheGraph) {
    open(0);
    page->combo(1).setSelection(3);
    emit page->combo(1).selectionChosen();
    EXPECT_EQ(changes, std::vector<int>{61});
    EXPECT_EQ(page->getField(61), 27);
    EXPECT_EQ(page->graph().model().lowPassType(), 27);
    struct Case {
        int page, field, code, combo, selection;
    };
    const Case cases[] = {{5, 79, 28, 0, 1}, {7, 43, 30, 0, 5}};
    for (const Case& c : cases) {
        open(c.page);
        page->setField(c.field, c.code);
        EXPECT_EQ(page->combo(c.combo).selection(), c.selection) << c.page;
        EXPECT_EQ(page->graph().model().highPassType(), c.code) << c.page;
        EXPECT_TRUE(changes.empty());
    }
}

TEST_F(EqualiserPagesTest, SwitchingMicrophoneLoadsItsEntriesAndSendsNothing) {
    auto& mic = static_cast<InputPage&>(open(6));
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
