#pragma once

#include <QDialog>
#include <QTimer>

#include "link/transport_type.h"

class Link;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Wi-Fi module's settings: hotspot and router SSIDs and passwords, the
// module's mode and address, and how the PC is to reach the device. It reads
// the module when shown and follows the replies while open; every change goes
// out as a queued module command.
class WifiDialog : public QDialog {
public:
    static constexpr int kRefreshMs = 500;
    // The values of the "m_COM_MdoeIO" key, in the order of the PC radios.
    static constexpr TransportType kPcConnections[] = {
        TransportType::UsbHid, TransportType::Network, TransportType::Relay};

    WifiDialog(Link& link, QWidget* parent);

    QLineEdit& hotspotSsid() { return *m_edits[0]; }
    QLineEdit& hotspotPassword() { return *m_edits[1]; }
    QLineEdit& routerSsid() { return *m_edits[2]; }
    QLineEdit& routerPassword() { return *m_edits[3]; }
    QLineEdit& address() { return *m_address; }
    // 0 hotspot, 1 router, 2 relay server.
    QRadioButton& modeRadio(int i) { return *m_modes[static_cast<size_t>(i)]; }
    // 0 USB, 1 LAN, 2 Internet.
    QRadioButton& pcRadio(int i) { return *m_pc[static_cast<size_t>(i)]; }
    QCheckBox& showPasswords() { return *m_showPasswords; }
    QPushButton& setHotspotButton() { return *m_setHotspot; }
    QPushButton& setRouterButton() { return *m_setRouter; }
    QPushButton& readAgainButton() { return *m_readAgain; }
    bool following() const { return m_timer.isActive(); }

    // Takes the replies that have arrived into the controls.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createControls();
    void setTexts();
    void showMode(int mode);
    void modeClicked(int mode);
    bool askRouterMode();
    void setHotspot();
    void setRouter();
    void readAgain();
    void pcClicked(int i);
    // The PC radio of the stored choice (USB when none or another).
    int storedPcChoice() const;
    void say(const QString& text);

    Link& m_link;
    QLineEdit* m_edits[4];
    QLineEdit* m_address;
    QRadioButton* m_modes[3];
    QRadioButton* m_pc[3];
    QPushButton* m_setHotspot;
    QPushButton* m_setRouter;
    QPushButton* m_readAgain;
    QCheckBox* m_showPasswords;
    QTimer m_timer;
};
