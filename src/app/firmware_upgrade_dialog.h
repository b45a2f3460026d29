#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

class FirmwareUpgrade;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// A small dialog that offers the firmware upgrade: the target, the package
// file, the progress of the device's acknowledgements, and Interrupt. The job
// itself runs on the link supervisor; its message boxes tell how it ended.
class FirmwareUpgradeDialog : public QDialog {
public:
    FirmwareUpgradeDialog(FirmwareUpgrade& upgrade, QWidget* owner);

    QComboBox& targets() { return *m_target; }
    QLineEdit& file() { return *m_file; }
    QPushButton& startButton() { return *m_start; }
    QPushButton& interruptButton() { return *m_interrupt; }
    QProgressBar& progress() { return *m_progress; }
    // What the chosen file is: its image size and SHA-256, or why it is refused.
    QLabel& summary() { return *m_summary; }
    bool running() const { return m_running; }

    // The package type of the chosen target, 1 to 5.
    int chosenType() const;
    void start();

private:
    void browse();
    void follow();
    void setRunning(bool running);
    void describeFile();

    FirmwareUpgrade& m_upgrade;
    QComboBox* m_target;
    QLineEdit* m_file;
    QPushButton* m_browse;
    QPushButton* m_start;
    QPushButton* m_interrupt;
    QProgressBar* m_progress;
    QLabel* m_summary;
    QTimer m_timer;
    QTimer m_describe;
    bool m_running = false;
    uint64_t m_serial = 0;
    size_t m_imageSize = 0;
};
