#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "binding/page_fields.h"
#include "controls/skin_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_slider.h"
#include "pages/page.h"
#include "texts/text_triple.h"

class DeviceInfo;
class DrawingSurface;
class Mirror;
class ParameterBinding;
class PresetJobs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
struct LinkState;

// The system page (9): the master volumes' start and maximum values, the two
// noise gates, the key-lock and system passwords with the administrator's
// rights, the device's sixteen modes, mode files on the PC, the language, the
// boot mode and where 5.1 surround goes. It writes its own parameters; the
// mode and file operations go to the link's preset jobs. It signals when a
// maximum moved, when the language changed and when the routing page is asked
// for.
class SystemPage : public Page, public PageFields {
    Q_OBJECT
public:
    static constexpr int kFixedTexts = 23;
    static constexpr int kSliders = 11;
    static constexpr int kButtons = 12;

    enum Button {
        SystemCheck,
        KeyLockCheck,
        KeyLockChange,
        UseMode,
        SaveMode,
        ResetPasswords,
        SystemChange,
        SaveLocal,
        DeleteLocal,
        SendLocal,
        WifiSet,
        Route,
    };

    // What the page asks of the preset jobs; tests give their own.
    struct Jobs {
        std::function<void(const std::string&)> saveToFile;
        std::function<void(const std::string&)> sendFile;
        std::function<bool(int)> recall;
        std::function<bool(int)> readName;
        std::function<bool(int, const std::string&)> saveName;
    };
    static Jobs jobsOf(PresetJobs& jobs);

    SystemPage(ParameterBinding& binding, const LinkState& state, const DeviceInfo& device,
               Jobs jobs, QWidget* parent);
    ~SystemPage() override;

    void setBackgroundSource(DrawingSurface* source) override;

    int getField(int field) const override;
    void setField(int field, int value) override;
    // A field's slider text, or every text for kFixedTexts.
    void refreshItem(int item);
    void refreshTexts() override;
    // Fills the list of mode files on the PC and selects the first.
    void fillFileList();

    ValueSlider& slider(int k) { return m_sliders[static_cast<size_t>(k)]; }
    SkinButton& button(int b) { return m_buttons[static_cast<size_t>(b)]; }
    SkinComboBox& modeList() { return m_modeList; }
    SkinComboBox& bootList() { return m_bootList; }
    SkinComboBox& languageList() { return m_languageList; }
    QLineEdit& keyLockEdit() { return *m_keyLockEdit; }
    QLineEdit& newKeyLockEdit() { return *m_newKeyLockEdit; }
    QLineEdit& systemEdit() { return *m_systemEdit; }
    QLineEdit& oldSystemEdit() { return *m_oldEdit; }
    QLineEdit& newSystemEdit() { return *m_newEdit; }
    QLineEdit& confirmSystemEdit() { return *m_confirmEdit; }
    QLineEdit& modeNameEdit() { return *m_nameEdit; }
    QComboBox& fileList() { return *m_fileList; }
    QCheckBox& musicGate() { return *m_musicGate; }
    QCheckBox& micGate() { return *m_micGate; }
    QRadioButton& keyLockOn() { return *m_keyLockOn; }
    QRadioButton& adminRadio() { return *m_admin; }
    QRadioButton& surroundSide() { return *m_surroundSide; }
    QRadioButton& surroundBack() { return *m_surroundBack; }

signals:
    void volumeLimitChanged();
    void languageChanged();
    void routingAsked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createDialogControls();
    void connectDialogControls();
    void layout();
    void createSkinnedControls(double sx, double sy);
    void placeControls(double sx, double sy);
    void fillModeLists();

    QString sliderLabel(int k) const;
    int position(int k) const;
    void sliderChanged(int k);
    void buttonAction(int b);
    void write(int index, int value);
    void box(const QString& text);
    int selectedMode() const { return m_modeList.selection() + 1; }
    bool administrator() const;
    bool mayStore();

    void checkKeyLock();
    void changeKeyLock();
    void checkSystem();
    void changeSystem();
    void modeSelected();
    void useMode();
    void saveMode();
    void saveLocal();
    bool confirmed(const TextTriple& question, const std::string& name);
    void deleteLocal();
    void sendLocal();
    void languageChosen();
    uint32_t storedSystemPassword() const;

    ParameterBinding& m_binding;
    const LinkState& m_state;
    const DeviceInfo& m_device;
    Jobs m_jobs;
    DrawingSurface* m_source = nullptr;
    bool m_created = false;
    std::array<ValueSlider, kSliders> m_sliders;
    std::array<SkinButton, kButtons> m_buttons;
    std::array<SkinLabel, 8> m_skinLabels;
    SkinComboBox m_modeList;
    SkinComboBox m_bootList;
    SkinComboBox m_languageList;

    QLabel* m_keyLockLabel;
    QLineEdit* m_keyLockEdit;
    QLabel* m_newKeyLockLabel;
    QLineEdit* m_newKeyLockEdit;
    QRadioButton* m_keyLockOn;
    QRadioButton* m_keyLockOff;
    QLabel* m_systemLabel;
    QLineEdit* m_systemEdit;
    QRadioButton* m_user;
    QRadioButton* m_admin;
    std::array<QLabel*, 3> m_changeLabels;
    QLineEdit* m_oldEdit;
    QLineEdit* m_newEdit;
    QLineEdit* m_confirmEdit;
    QLabel* m_modeLabel;
    QLabel* m_nameLabel;
    QLineEdit* m_nameEdit;
    QLabel* m_fileLabel;
    QComboBox* m_fileList;
    QLabel* m_languageLabel;
    QLabel* m_bootLabel;
    QLabel* m_musicGateLabel;
    QCheckBox* m_musicGate;
    QLabel* m_micGateLabel;
    QCheckBox* m_micGate;
    QRadioButton* m_surroundSide;
    QRadioButton* m_surroundBack;
};
