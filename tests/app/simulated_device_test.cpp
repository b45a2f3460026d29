// The window against the simulated device: it connects, shows the progress
// dialog during the full read and "Successful" only after it.
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
    link->setUsbTransport(std::make_unique<HidTransport>(link->transportListener(), backend));
    window = std::make_unique<MainWindow>(*link, *ui);
    ASSERT_TRUE(window->start());
    window->show();

    // Green only once the read is over: never while its progress shows.
    SkinButton& status = window->titleButton(3);
    bool progressSeen = false;
    bool greenWhileReading = false;
    ASSERT_TRUE(processUntil([&] {
        ProgressDialog* progress = ui->progressDialog();
        bool shown = progress && progress->isVisible();
        bool reading = shown && progress->text().startsWith("Read Device Data");
        progressSeen = progressSeen || shown;
        greenWhileReading = greenWhileReading || (reading && status.text() == "Successful");
        return progressSeen && !shown && status.text() == "Successful" &&
               link->supervisor().steadyIterations() > 0;
    }));
    EXPECT_FALSE(greenWhileReading);
    EXPECT_EQ(status.checkType(), 2);
    EXPECT_EQ(window->titleLabel().text(), "QX7-USB");
    EXPECT_TRUE(window->deviceLive());
    for (int i : {0, 1602, 1640}) EXPECT_EQ(link->mirror().value(i), device.value(i)) << i;

    // The window goes first; the link and the device outlive it here.
    window.reset();
    link.reset();
}

}  // namespace
