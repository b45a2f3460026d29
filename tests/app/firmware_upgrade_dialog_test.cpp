#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/firmware_upgrade_dialog.h"
#include "link/firmware_upgrade.h"
#include "link/link_supervisor.h"
#include "support/package_file.h"
#include "support/qt_wait.h"
#include "support/sim_link_harness.h"
#include "texts/language.h"
#include "texts/upgrade_texts.h"

// The dialog drives a real upgrade of the simulated device's front panel and
// can interrupt one.
TEST(FirmwareUpgradeDialog, UpgradesTheChosenTargetAndInterrupts) {
    Language::set(Language::English);
    SimLinkHarness h;
    FirmwareUpgrade upgrade(h.link);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(processUntil([&] { return h.link.supervisor().steadyIterations() > 0; }));
    TempFolder folder;
    PackageFile package{2, PackageFile::randomImage(3 * 4096, 9)};
    package.write(folder.path("panel.bin"));

    FirmwareUpgradeDialog dialog(upgrade, nullptr);
    EXPECT_FALSE(dialog.interruptButton().isEnabled());
    dialog.targets().setCurrentIndex(1);
    EXPECT_EQ(dialog.chosenType(), 2);
    std::vector<uint8_t> foreign = package.bytes();
    foreign[300] = '#';
    PackageFile::writeBytes(folder.path("foreign.bin"), foreign);
    dialog.file().setText(QString::fromStdString(folder.path("foreign.bin")));
    ASSERT_TRUE(processUntil([&] { return !dialog.summary().text().isEmpty(); }));
    EXPECT_EQ(dialog.summary().text(), upgradetext::PackageForeignSymbol[2]);
    dialog.file().setText(QString::fromStdString(folder.path("panel.bin")));
    ASSERT_TRUE(processUntil([&] { return dialog.summary().text().startsWith("Image: 12288"); }));
    EXPECT_EQ(dialog.summary().text().section('\n', 1).size(), 64);  // the digest, for comparing
    dialog.startButton().click();
    EXPECT_TRUE(dialog.running());
    EXPECT_TRUE(dialog.interruptButton().isEnabled());
    ASSERT_TRUE(processUntil([&] { return !dialog.running(); }));
    EXPECT_EQ(upgrade.lastOutcome().result, FirmwareUpgrade::Result::Succeeded);
    EXPECT_EQ(dialog.progress().value(), dialog.progress().maximum());
    EXPECT_TRUE(std::equal(package.image.begin(), package.image.end(),
                           h.device.loaderReport().image.begin()));

    SimLoader::Faults hold;
    hold.silentBlock = 4096;
    hold.silentTimes = 1;
    h.device.setLoaderFaults(hold);
    dialog.startButton().click();
    ASSERT_TRUE(processUntil([&] { return upgrade.acknowledged() >= 4096; }));
    dialog.interruptButton().click();
    ASSERT_TRUE(processUntil([&] { return !dialog.running(); }));
    EXPECT_EQ(upgrade.lastOutcome().result, FirmwareUpgrade::Result::Interrupted);
    h.stop();
}
