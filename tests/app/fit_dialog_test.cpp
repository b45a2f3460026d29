#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <fstream>

#include "app/fit_dialog.h"
#include "app/graph_menu.h"
#include "app/undo_control.h"
#include "binding/equaliser_bands.h"
#include "link/link_supervisor.h"
#include "main_window_fixture.h"

namespace {

// A room with a mode at 60 Hz and a dip at 150 Hz.
void writeRoom(const std::string& path) {
    std::ofstream out(path);
    out << "* measured\nFreq(Hz) SPL(dB) Phase(degrees)\n";
    for (double f = 10; f < 22000; f *= std::exp2(1.0 / 24))
        out << f << ' '
            << 80 + 9 * std::exp(-30 * std::pow(std::log2(f / 60), 2)) -
                   6 * std::exp(-40 * std::pow(std::log2(f / 150), 2))
            << " 0\n";
}

}  // namespace

// Cancel writes nothing; Apply writes the fitted bands, and one undo takes
// them all back.
TEST_F(MainWindowTest, AFitIsPreviewedFirstAndAppliedAsOneUndoStep) {
    ASSERT_TRUE(start());
    link->supervisor().stop();
    const std::string room = (root() / "room.txt").string();
    writeRoom(room);
    GraphMenu& menu = window->graphMenu();
    const std::vector<EqBand> before = EqualiserBands::read(0, link->mirror());
    std::vector<EqBand> fitted;
    QString report;
    auto drive = [&](bool apply) {
        QTimer::singleShot(0, [&, apply] {
            FitDialog* dialog = menu.fitDialog();
            ASSERT_TRUE(dialog);
            EXPECT_FALSE(dialog->applyButton().isEnabled());
            dialog->file().setText(QString::fromStdString(room));
            dialog->fitButton().click();
            report = dialog->report().text();
            fitted = dialog->bands();
            EXPECT_TRUE(dialog->applyButton().isEnabled());
            apply ? dialog->applyButton().click() : dialog->reject();
        });
    };
    drive(false);
    EXPECT_FALSE(menu.fitMeasurement(0));
    EXPECT_TRUE(report.startsWith("RMS ")) << report.toStdString();
    EXPECT_EQ(link->mirror().countPending(), 0) << "nothing written on Cancel";

    drive(true);
    EXPECT_TRUE(menu.fitMeasurement(0));
    processQueued();
    ASSERT_EQ(fitted.size(), 8u);
    EXPECT_EQ(EqualiserBands::read(0, link->mirror()), fitted);
    EXPECT_EQ(window->undoControl().history().undoCount(), 1u);
    window->undoControl().undo();
    EXPECT_EQ(EqualiserBands::read(0, link->mirror()), before);
}
