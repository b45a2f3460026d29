#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <vector>

#include "binding/output_field_codec.h"
#include "filter/frequency_table.h"
#include "pages/output_page.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "texts/language.h"

namespace {

// An output page at design size in a plain window, recording the fields it reports.
class OutputPageTest : public testing::Test {
protected:
    void open(int pageIndex) {
        Language::set(Language::English);
        root = std::make_unique<QWidget>();
        root->resize(1077, 681);
        page = new OutputPage(pageIndex, root.get());
        page->setGeometry(0, 109, 1077, 572);
        page->setChangeHandler([this](int p, int field) {
            EXPECT_EQ(p, page->pageIndex());
            changes.push_back(field);
        });
        page->setBackgroundSource(&skin);
        root->show();
        processQueued();
    }

    DrawingSurface skin{QRect(0, 0, 1077, 681)};
    std::unique_ptr<QWidget> root;
    OutputPage* page = nullptr;
    std::vector<int> changes;
};

}  // namespace

TEST_F(OutputPageTest, DeviceValuesComeBackAsTheyWereOrAsTheNearestLegalOne) {
    open(0);
    struct Case {
        int field, received, sent;
    };
    const Case cases[] = {
        {44, 537, 537},     {44, 37, 37},       {44, 9999, 600},    {45, 0, 0},
        {45, 257, 257},     {46, 25601, 25601}, {47, 65535, 25601}, {30, 260, 260},
        {32, 620, 620},     {33, 9999, 620},    {10, 33758, 33758}, {11, 101, 101},
        {12, 33021, 33021}, {13, 33000, 33002}, {20, 40, 40},       {21, 12800, 12800},
        {0, 5, 5},          {1, 44, 7},         {40, 0, 0},         {40, 1, 1},
        {41, 1, 1},         {43, 0, 0},         {51, 960, 960},     {57, 60000, 960},
        {53, 445, 445},     {54, 1000, 1000},   {55, 33, 32},       {56, 1000, 1000},
        {58, 32768, 32768}, {58, 101, 101},     {60, 33000, 33002}, {59, 28, 28},
        {59, 63, 22},       {61, 27, 27},       {61, 36, 23},       {99, 5, 0},
    };
    for (const Case& c : cases) {
        page->setField(c.field, c.received);
        EXPECT_EQ(page->getField(c.field), c.sent) << c.field << " " << c.received;
    }
    EXPECT_TRUE(changes.empty());  // nothing from the device is reported back
}

TEST_F(OutputPageTest, LabelsShowWhatTheFieldsHold) {
    open(0);
    page->setField(44, 537);
    EXPECT_TRUE(page->slider(0).toggleOn());
    EXPECT_EQ(page->slider(0).labelText(), "Music Output Vol:    37%");
    page->setField(58, 32768);
    EXPECT_EQ(page->slider(14).value(), 0);
    EXPECT_EQ(page->slider(14).labelText(), "HPF Freq:   OFF");
    page->setField(60, 33758);
    EXPECT_EQ(page->slider(15).labelText(), "LPF Freq:   99.0Hz");
    page->setField(51, 960);
    EXPECT_EQ(page->slider(7).labelText(), "Left-Delay:   20.0ms");
    EXPECT_EQ(page->caption(0).text(), "Delay distance:  6.92M");
    // Without their Q sliders the selectors offer six items, and the sliders stay away.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(page->selector(i).count(), 6);
        EXPECT_FALSE(page->slider(4 + i).isVisible());
    }
}

TEST_F(OutputPageTest, PagesHaveTheirOwnControls) {
    struct Case {
        int page;
        std::vector<int> shownSliders, shownButtons;
    };
    const Case cases[] = {
        {0, {0, 1, 2, 3, 7, 9, 10, 11, 12, 13, 14, 15}, {0, 2, 3, 4}},
        {2, {0, 1, 2, 3, 8, 9, 10, 11, 12, 14, 15}, {1, 3, 4}},
    };
    for (const Case& c : cases) {
        open(c.page);
        std::vector<int> sliders, buttons;
        for (int k = 0; k < 16; ++k)
            if (page->slider(k).isVisible()) sliders.push_back(k);
        for (int b = 0; b < 5; ++b)
            if (page->button(b).isVisible()) buttons.push_back(b);
        EXPECT_EQ(sliders, c.shownSliders) << c.page;
        EXPECT_EQ(buttons, c.shownButtons) << c.page;
    }
}

TEST_F(OutputPageTest, RestOnTheSubwooferPageResetsFrequenciesAndGains) {
    open(2);
    for (int j = 0; j < 8; ++j) page->setField(30 + j, 560);
    emit page->button(3).clicked();
    std::vector<int> expected;
    for (int j = 0; j < 8; ++j) expected.insert(expected.end(), {10 + j, 30 + j});
    EXPECT_EQ(changes, expected);
    EXPECT_DOUBLE_EQ(page->strip(0).subValue(1), 25.3);
    EXPECT_DOUBLE_EQ(page->strip(7).subValue(1), 303);
    EXPECT_DOUBLE_EQ(page->graph().bandFrequency(0), 25.3);
    EXPECT_EQ(page->getField(37), 500);
}

TEST_F(OutputPageTest, GraphAndStripsStayInStep) {
    open(4);
    // A marker moved in the graph: the strip follows, four fields go out.
    page->graph().setBandGain(2, 6.5);
    page->graph().setBandFrequency(2, 1000);
    emit page->graph().edited(0, 2);
    EXPECT_EQ(changes, (std::vector<int>{2, 32, 12, 22}));
    EXPECT_DOUBLE_EQ(page->strip(2).subValue(0), 6.5);
    EXPECT_EQ(page->getField(12), 1000);
    // A strip changed: the graph follows.
    changes.clear();
    page->strip(5).setSubValue(0, -3);
    emit page->strip(5).subValueChanged(0);
    EXPECT_EQ(changes, std::vector<int>{35});
    EXPECT_DOUBLE_EQ(page->graph().bandGain(5), -3);
    // "EQ PASS" twice, then a crossover marker and Copy/Paste from the graph menu.
    changes.clear();
    emit page->button(4).clicked();
    EXPECT_EQ(page->getField(40), 0);
    emit page->button(4).clicked();
    EXPECT_EQ(page->getField(40), 1);
    page->graph().setCrossoverFrequency(0, 80);
    emit page->graph().edited(1, 0);
    EXPECT_EQ(page->getField(58), 32768 + 803);
    emit page->graph().edited(3, 0);
    emit page->graph().edited(4, 0);
    emit page->graph().edited(0, 8);  // no such band
    EXPECT_EQ(changes, (std::vector<int>{40, 40, 58, 62, 63}));
}

// Every frequency a band can hold, the bottom of the grid included, reads the
// same in the strip's box, in the graph's label and in what goes back out.
TEST_F(OutputPageTest, EveryBandFrequencyHasOneReading) {
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

TEST_F(OutputPageTest, ASelectorChoiceGoesToTheGraph) {
    open(0);
    page->selector(1).setSelection(3);
    emit page->selector(1).selectionChosen();
    EXPECT_EQ(changes, std::vector<int>{61});
    EXPECT_EQ(page->getField(61), 27);
    EXPECT_EQ(page->graph().model().lowPassType(), 27);
}
