#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>
#include <optional>
#include <vector>

#include "binding/page_number.h"
#include "binding/parameter_binding.h"
#include "controls/synthetic_input.h"
#include "files/settings.h"
#include "link/device_info.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "pages/system_page.h"
#include "platform/qt/message_box.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "support/temp_folder.h"
#include "texts/language.h"

namespace {

// What the page told the main window, in order.
enum class Told { VolumeLimit, Language, Routing };

class SystemPageTest : public testing::Test {
protected:
    void SetUp() override {
        Language::set(Language::English);
        Settings::overrideFolders(temp.path() + "/", temp.path() + "/");
        state.linkAlive = 1;
        SystemPage::Jobs jobs;
        jobs.saveToFile = [this](const std::string& name) { requests.push_back("file " + name); };
        jobs.sendFile = [this](const std::string& name) { requests.push_back("send " + name); };
        jobs.recall = [this](int n) { return record("recall", n); };
        jobs.readName = [this](int n) { return record("read", n); };
        jobs.saveName = [this](int n, const std::string& name) {
            return record("save " + name, n);
        };
        owner.resize(1077, 681);
        page = new SystemPage(binding, state, device, jobs, &owner);
        QObject::connect(page, &SystemPage::volumeLimitChanged,
                         [this] { told.push_back(Told::VolumeLimit); });
        QObject::connect(page, &SystemPage::languageChanged,
                         [this] { told.push_back(Told::Language); });
        QObject::connect(page, &SystemPage::routingAsked,
                         [this] { told.push_back(Told::Routing); });
        page->setGeometry(0, 109, 1077, 572);
        page->setBackgroundSource(&skin);
        owner.show();
        processQueued();
        MessageBox::setObserver([this](const MessageBox::Request& r) {
            boxes.push_back(r.text.toStdString());
            return std::optional(MessageBox::Answer::Yes);
        });
    }
    void TearDown() override {
        MessageBox::setObserver(nullptr);
        Settings::overrideFolders("", "");
        Language::set(Language::English);
    }

    bool record(const std::string& what, int n) {
        requests.push_back(what + " " + std::to_string(n));
        return true;
    }
    void press(int b) {
        SkinButton& button = page->button(b);
        SyntheticInput::click(&button, button.rect().center(), Qt::LeftButton);
        processQueued();
    }
    void moveSlider(int k, int position) {
        page->slider(k).setValue(position);
        emit page->slider(k).valueChanged(position);
        processQueued();
    }
    void choose(SkinComboBox& list, int item) {
        list.setSelection(item);
        emit list.selectionChosen();
        processQueued();
    }
    bool pendingWith(int index, int value) const {
        return mirror.pending(index) && mirror.value(index) == value;
    }
    std::vector<std::string> takeBoxes() { return std::exchange(boxes, {}); }

    TempFolder temp;
    Mirror mirror;
    ParameterBinding binding{mirror};
    LinkState state;
    DeviceInfo device;
    DrawingSurface skin{QRect(0, 0, 1077, 681)};
    QWidget owner;  // the main window's place: the page's root
    std::vector<Told> told;
    SystemPage* page = nullptr;
    std::vector<std::string> boxes;
    std::vector<std::string> requests;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(SystemPageTest, MaximaTakeTheirStartsDownAndTellTheHeader) {
    struct Pair {
        int start, max, startIndex, maxIndex;
    };
    for (Pair p : {Pair{0, 1, 1616, 1615}, {2, 3, 1612, 1611}, {6, 7, 1618, 1617}}) {
        page->setField(p.start, 60);
        moveSlider(p.max, 40);
        EXPECT_TRUE(pendingWith(p.startIndex, 40)) << p.start;
        EXPECT_TRUE(pendingWith(p.maxIndex, 40)) << p.max;
        // A start never goes above its maximum.
        moveSlider(p.start, 70);
        EXPECT_TRUE(pendingWith(p.startIndex, 40)) << p.start;
        EXPECT_EQ(page->getField(p.start), 40);
    }
    EXPECT_EQ(page->slider(0).labelText().simplified(), QStringLiteral("Music Start: 40%"));
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), Told::VolumeLimit);
    EXPECT_EQ(binding.masterLimits().music, 40);
    EXPECT_EQ(binding.masterLimits().effect, 40);
}

TEST_F(SystemPageTest, NoiseGatesGoThroughTheirTable) {
    moveSlider(9, 20);
    EXPECT_TRUE(pendingWith(1631, 327));
    struct Case {
        int value, position;
    };
    for (Case c : {Case{12, 10}, {400, 20}, {0, 0}, {13, 10}}) {
        page->setField(8, c.value);
        EXPECT_EQ(page->slider(8).value(), c.position) << c.value;
    }
    EXPECT_EQ(page->slider(8).labelText(), QStringLiteral("MicThreshold:   10"));
    page->musicGate().click();
    EXPECT_TRUE(pendingWith(1632, 1));
    page->setField(12, 1);
    EXPECT_TRUE(page->micGate().isChecked());
}

TEST_F(SystemPageTest, KeyLockPasswordIsCheckedAndChangedAsFourPackedDigits) {
    mirror.store(1623, 0x1234);
    struct Case {
        const char* typed;
        Strings boxes;
    };
    const Case checks[] = {
        {"123", {"Password only for four figures!"}},
        {"12a4", {"Password only for four figures!"}},
        {"4321", {"Wrong password!"}},
    };
    for (const Case& c : checks) {
        page->keyLockEdit().setText(QString::fromUtf8(c.typed));
        press(SystemPage::KeyLockCheck);
        EXPECT_EQ(takeBoxes(), c.boxes) << c.typed;
        EXPECT_FALSE(page->newKeyLockEdit().isEnabled());
    }
    page->newKeyLockEdit().setText(QStringLiteral("5678"));
    press(SystemPage::KeyLockChange);  // still disabled: nothing happens
    EXPECT_TRUE(takeBoxes().empty());
    page->keyLockEdit().setText(QStringLiteral("1234"));
    press(SystemPage::KeyLockCheck);
    EXPECT_TRUE(takeBoxes().empty());
    EXPECT_TRUE(page->newKeyLockEdit().isEnabled());
    page->newKeyLockEdit().setText(QStringLiteral("567"));
    press(SystemPage::KeyLockChange);
    EXPECT_EQ(takeBoxes(), Strings{"New_T(Password only for four figures!"});
    EXPECT_FALSE(mirror.pending(1623));
    page->newKeyLockEdit().setText(QStringLiteral("5678"));
    press(SystemPage::KeyLockChange);
    EXPECT_EQ(takeBoxes(), Strings{"Password is changed!"});
    EXPECT_TRUE(pendingWith(1623, 0x5678));
    state.linkAlive = 0;
    press(SystemPage::KeyLockCheck);
    EXPECT_EQ(takeBoxes(), Strings{"No Device!"});
}

TEST_F(SystemPageTest, SystemPasswordUnlocksTheAdministratorAndChangesOverTwoEntries) {
    mirror.store(1625, 0x12);
    mirror.store(1626, 0x3456);
    struct Case {
        const char* typed;
        Strings boxes;
    };
    for (const Case& c : {Case{"12345", {"Password only for six figures!"}},
                          Case{"12345x", {"Password only for six figures!"}},
                          Case{"123457", {"Wrong password!"}}}) {
        page->systemEdit().setText(QString::fromUtf8(c.typed));
        press(SystemPage::SystemCheck);
        EXPECT_EQ(takeBoxes(), c.boxes) << c.typed;
        EXPECT_TRUE(page->systemEdit().text().isEmpty());
        EXPECT_FALSE(page->adminRadio().isEnabled());
    }
    page->systemEdit().setText(QStringLiteral("123456"));
    press(SystemPage::SystemCheck);
    EXPECT_TRUE(takeBoxes().empty());
    EXPECT_TRUE(page->adminRadio().isEnabled());

    struct Change {
        const char *old, *fresh, *confirm;
        Strings boxes;
    };
    const Change changes[] = {
        {"12345", "654321", "654321", {"Password only for six figures!"}},
        {"111111", "654321", "654321", {"Wrong password!"}},
        {"123456", "65432", "65432", {"New_T(Password only for six figures!"}},
        {"123456", "654321", "654320", {"The new passwords don't match!"}},
    };
    for (const Change& c : changes) {
        page->oldSystemEdit().setText(QString::fromUtf8(c.old));
        page->newSystemEdit().setText(QString::fromUtf8(c.fresh));
        page->confirmSystemEdit().setText(QString::fromUtf8(c.confirm));
        press(SystemPage::SystemChange);
        EXPECT_EQ(takeBoxes(), c.boxes) << c.old << " " << c.fresh << " " << c.confirm;
        EXPECT_EQ(mirror.countPending(), 0);
    }
    page->confirmSystemEdit().setText(QStringLiteral("654321"));
    press(SystemPage::SystemChange);
    EXPECT_EQ(takeBoxes(), Strings{"Password is changed!"});
    EXPECT_TRUE(pendingWith(1625, 0x65));
    EXPECT_TRUE(pendingWith(1626, 0x4321));
    press(SystemPage::ResetPasswords);
    EXPECT_TRUE(page->oldSystemEdit().text().isEmpty());
}

TEST_F(SystemPageTest, OnlyAdministratorsStoreIntoSystemModesOrFromOne) {
    page->modeNameEdit().setText(QStringLiteral("Party"));
    page->fileList().setEditText(QString());
    struct Case {
        int deviceMode, mode;
        Strings requests;
    };
    const Case cases[] = {
        {1, 9, {}},
        {10, 3, {}},
        {2, 3, {"save Party 3"}},
    };
    for (const Case& c : cases) {
        requests.clear();
        mirror.store(1628, uint16_t(c.deviceMode));
        page->modeList().setSelection(c.mode - 1);
        press(SystemPage::SaveMode);
        press(SystemPage::SaveLocal);
        if (c.requests.empty()) {
            EXPECT_EQ(takeBoxes(), Strings(2, "Users do not have permission to operate!"));
        } else {
            EXPECT_EQ(takeBoxes(), Strings{"Please enter the file name!"});
        }
        EXPECT_EQ(requests, c.requests) << c.deviceMode << " " << c.mode;
    }
    // A name longer than the device keeps is cut before a character it cannot hold whole.
    requests.clear();
    page->modeNameEdit().setText(QStringLiteral("Ab") + QString(10, QChar(0x4E2D)));
    press(SystemPage::SaveMode);
    std::string kept = "Ab";
    for (int i = 0; i < 6; ++i) kept += "\xE4\xB8\xAD";
    EXPECT_EQ(requests, Strings{"save " + kept + " 3"});
    EXPECT_EQ(page->modeNameEdit().text().toStdString(), kept);
}

TEST_F(SystemPageTest, ModesAndFilesGoToTheJobs) {
    choose(page->modeList(), 4);
    press(SystemPage::UseMode);
    page->fileList().setEditText(QStringLiteral("party"));
    press(SystemPage::SendLocal);
    page->fileList().setEditText(QStringLiteral("live.qmx"));
    press(SystemPage::SaveLocal);
    page->fileList().setEditText(QString());
    press(SystemPage::SendLocal);
    press(SystemPage::DeleteLocal);
    EXPECT_EQ(requests, (Strings{"read 5", "recall 5", "send party.qmx", "file live.qmx"}));
    EXPECT_EQ(takeBoxes(), (Strings{"Send the file party.qmx to the device?\r\nEvery value on "
                                    "the device will be replaced.",
                                    "No files.", "Delete failed.\n no files!"}));
    EXPECT_EQ(page->fileList().findText(QStringLiteral("live.qmx")), page->fileList().count() - 1);

    // The list shows the files in the settings folder; a delete takes one away.
    TempFolder::write(temp.path("club.qmx"), "x");
    page->fillFileList();
    ASSERT_GE(page->fileList().findText(QStringLiteral("club.qmx")), 0);
    page->fileList().setEditText(QStringLiteral("club.qmx"));
    press(SystemPage::DeleteLocal);
    EXPECT_LT(page->fileList().findText(QStringLiteral("club.qmx")), 0);

    // The device's names replace the placeholders and keep the selections; a
    // name another tool wrote in GBK reads as it was meant.
    const uint8_t name[] = {'K', 'T', 'V', 0xB2, 0xE2, ' ', ' '};
    device.storeModeName(5, name, sizeof name);
    page->setField(19, 5);
    EXPECT_EQ(page->modeList().itemText(4), QString::fromUtf8("5-KTV测"));
    EXPECT_EQ(page->modeList().itemText(8), QStringLiteral("9-SYSTEM"));
    EXPECT_EQ(page->bootList().itemText(5), QString::fromUtf8("5-KTV测"));
    EXPECT_EQ(page->modeNameEdit().text(), QString::fromUtf8("KTV测"));
    page->setField(18, 9);
    EXPECT_EQ(page->modeList().selection(), 8);
    choose(page->bootList(), 3);
    EXPECT_TRUE(pendingWith(1635, 3));
}

TEST_F(SystemPageTest, LanguageSurroundAndRouteReachTheirOwners) {
    choose(page->languageList(), Language::SimplifiedChinese);
    EXPECT_EQ(Language::index(), Language::SimplifiedChinese);
    EXPECT_EQ(Settings().readInt("Language", "Language"), 0);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), Told::Language);
    page->refreshTexts();
    EXPECT_EQ(page->button(SystemPage::Route).text(), QString::fromUtf8("路由"));

    page->surroundBack().click();
    EXPECT_TRUE(pendingWith(1644, 1));
    EXPECT_FALSE(page->surroundSide().isChecked());
    page->setField(21, 0);
    EXPECT_TRUE(page->surroundSide().isChecked());
    page->keyLockOn().click();
    EXPECT_TRUE(pendingWith(1624, 1));

    press(SystemPage::Route);
    EXPECT_EQ(told.back(), Told::Routing);
    EXPECT_FALSE(page->button(SystemPage::WifiSet).isVisible());
}

TEST_F(SystemPageTest, SendingOrDeletingAFileAsksFirstNamingItAndNeedsTheRights) {
    struct Case {
        const char* name;
        int deviceMode;
        MessageBox::Answer answer;
        Strings boxes;
        bool done;
    };
    const Case cases[] = {
        {"agreed",
         1,
         MessageBox::Answer::Yes,
         {"Send the file club.qmx", "Delete the file club.qmx?"},
         true},
        {"refused",
         1,
         MessageBox::Answer::No,
         {"Send the file club.qmx", "Delete the file club.qmx?"},
         false},
        {"a user in a system mode", 10, MessageBox::Answer::Yes,
         Strings(2, "Users do not have permission to operate!"), false},
    };
    for (const Case& c : cases) {
        TempFolder::write(temp.path("club.qmx"), "x");
        page->fillFileList();
        EXPECT_TRUE(page->fileList().currentText().isEmpty()) << "no file is chosen for the user";
        mirror.store(1628, uint16_t(c.deviceMode));
        MessageBox::setObserver([this, &c](const MessageBox::Request& r) {
            boxes.push_back(r.text.toStdString());
            return std::optional(c.answer);
        });
        requests.clear();
        page->fileList().setEditText(QStringLiteral("club"));
        press(SystemPage::SendLocal);
        press(SystemPage::DeleteLocal);
        Strings shown = takeBoxes();
        ASSERT_EQ(shown.size(), 2u) << c.name;
        for (size_t i = 0; i < 2; ++i) EXPECT_EQ(shown[i].rfind(c.boxes[i], 0), 0u) << c.name;
        EXPECT_EQ(requests, c.done ? Strings{"send club.qmx"} : Strings{}) << c.name;
        EXPECT_EQ(TempFolder::read(temp.path("club.qmx")).empty(), c.done) << c.name;
    }
}
