#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QPushButton;

// Asks for the ID of the device to reach through the relay server, offering
// the IDs met so far when the user asked for them to be remembered (settings
// file "WIFI_Mode").
class DeviceIdDialog : public QDialog {
public:
    static constexpr int kListedIds = 100;

    explicit DeviceIdDialog(QWidget* parent);

    // The chosen ID once the dialog ended with OK.
    uint32_t deviceId() const { return m_deviceId; }

    QComboBox& ids() { return *m_ids; }
    QCheckBox& remember() { return *m_remember; }

    void confirm();
    void clearRecord();

private:
    void load();

    QComboBox* m_ids;
    QCheckBox* m_remember;
    QPushButton* m_connect;
    QPushButton* m_clear;
    uint32_t m_deviceId = 0;
};
