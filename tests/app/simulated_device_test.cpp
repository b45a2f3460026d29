// The window against the simulated device: it connects, shows the progress
// dialog during the full read and "Successful" after it.
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "main_window_fixture.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"

namespace {

TEST_F(MainWindowTest, ConnectsToTheSimulatedDeviceAndReadsIt) {
    SimDevice device;
    SimHidBackend backend(device, clock);
    ui = std::make_unique<QtLinkUi>();
    link = std::make_unique<Link>(*ui, clock);
    link->setTransport(1, std::make_unique<HidTransport>(*link, backend));
    window = std::make_unique<MainWindow>(*link, *ui);
    ASSERT_TRUE(window->OnInitDialog());
    window->show();

    SkinButton& status = window->titleButton(3);
    ASSERT_TRUE(processUntil([&] { return status.text() == "Successful"; }));
    EXPECT_EQ(status.GetCheckType(), 2);
    EXPECT_EQ(window->titleLabel().text(), "QX7-USB");

    bool progressSeen = false;
    ASSERT_TRUE(processUntil([&] {
        ProgressDialog* progress = ui->progressDialog();
        progressSeen = progressSeen || (progress && progress->isVisible());
        return progressSeen && link->supervisor().steadyIterations() > 0 && !progress->isVisible();
    }));
    EXPECT_EQ(status.text(), "Successful");
    for (int i : {0, 1602, 1640}) EXPECT_EQ(link->mirror().value(i), device.value(i)) << i;

    // The window goes first; the link and the device outlive it here.
    window.reset();
    link.reset();
}

}  // namespace
