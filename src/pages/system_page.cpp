#include "pages/system_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "binding/page_number.h"
#include "binding/parameter_binding.h"
#include "binding/parameter_index.h"
#include "binding/system_values.h"
#include "controls/control_surface.h"
#include "files/preset_files.h"
#include "files/settings.h"
#include "filter/slider_scale.h"
#include "link/device_info.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "link/preset_jobs.h"
#include "pages/page_layout.h"
#include "platform/qt/font_faces.h"
#include "platform/qt/message_box.h"
#include "resources/drawing_surface.h"
#include "resources/skin_ids.h"
#include "resources/skin_layout.h"
#include "texts/device_text.h"
#include "texts/language.h"
#include "texts/preset_file_texts.h"
#include "texts/ui_texts.h"

namespace {

using Place = PageLayout::Place;
using Values = SystemValues;

constexpr double kDesignWidth = 1077;
constexpr double kDesignHeight = 681;

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kSliderText = 0xFFF0F0F0;
constexpr QRgb kLabelText = 0xFFF0F0F0;
constexpr QRgb kButtonText = 0xC8FAFAFA;
constexpr QRgb kButtonTextOn = 0xC8000000;
constexpr unsigned kCentred = 0x25;
constexpr unsigned kLeftCentred = 0x24;
const QColor kFrameLine(120, 140, 165, 110);
const QColor kFieldColour(40, 58, 79);

// The volume limits: start and maximum slider with their entries.
struct VolumePair {
    int start, max;
    int startIndex, maxIndex;
};
constexpr VolumePair kVolumePairs[] = {
    {0, 1, parameterIndex::MusicStart, parameterIndex::MusicMax},
    {2, 3, parameterIndex::MicStart, parameterIndex::MicMax},
    {6, 7, parameterIndex::EffectStart, parameterIndex::EffectMax}};

// Slider k: its place (absent ones have none), its entry, and for the noise
// gates the row that comes before the threshold.
struct SliderDesign {
    bool present;
    Place place;
    const TextTriple* text;
    const TextTriple* row;
};
constexpr double kSliderLeft = 30, kSliderWidth = 330, kSliderHeight = 33;
const SliderDesign kSliderDesigns[SystemPage::kSliders] = {
    {true, {kSliderLeft, 32, kSliderWidth, kSliderHeight}, &uitext::MusicStart, nullptr},
    {true, {kSliderLeft, 70, kSliderWidth, kSliderHeight}, &uitext::MusicMax, nullptr},
    {true, {kSliderLeft, 108, kSliderWidth, kSliderHeight}, &uitext::MicStart, nullptr},
    {true, {kSliderLeft, 146, kSliderWidth, kSliderHeight}, &uitext::MicMax, nullptr},
    {false, {}, &uitext::MicBStart, nullptr},
    {false, {}, &uitext::MicBMax, nullptr},
    {true, {kSliderLeft, 184, kSliderWidth, kSliderHeight}, &uitext::EffectStart, nullptr},
    {true, {kSliderLeft, 222, kSliderWidth, kSliderHeight}, &uitext::EffectMax, nullptr},
    {true,
     {kSliderLeft, 386, kSliderWidth, kSliderHeight},
     &uitext::NoiseGateThreshold,
     &uitext::SystemMic},
    {true,
     {kSliderLeft, 316, kSliderWidth, kSliderHeight},
     &uitext::NoiseGateThreshold,
     &uitext::PageMusic},
    {false, {}, nullptr, nullptr},
};
constexpr int kMicGateSlider = 8;
constexpr int kMusicGateSlider = 9;
constexpr int kVolumeSliders = 8;

// Group frames and their titles (null: a frame without one).
struct Group {
    Place frame;
    const TextTriple* title;
};
const Group kGroups[] = {
    {{14, 8, 362, 262}, &uitext::VolumeController}, {{14, 280, 362, 150}, nullptr},
    {{390, 8, 332, 422}, &uitext::SystemTitle},     {{736, 8, 326, 122}, &uitext::ModeControl},
    {{736, 140, 326, 124}, &uitext::Local},         {{736, 276, 326, 154}, nullptr},
};

// Skinned labels: the group titles, then the texts beside the radios.
struct LabelDesign {
    Place place;
    const TextTriple* text;
};
const LabelDesign kLabelDesigns[] = {
    {{24, 10, 300, 20}, &uitext::VolumeController},
    {{400, 10, 300, 20}, &uitext::SystemTitle},
    {{746, 10, 300, 20}, &uitext::ModeControl},
    {{746, 142, 300, 20}, &uitext::Local},
    {{528, 164, 56, 22}, &uitext::User},
    {{616, 164, 90, 22}, &uitext::Admin},
    {{772, 298, 280, 22}, &uitext::Surround51OnSide},
    {{772, 330, 280, 22}, &uitext::Surround51OnBack},
};

// Buttons: place and text; 0 to 6 the small picture, 7 to 11 the dark one.
struct ButtonDesign {
    Place place;
    const TextTriple* text;
};
const ButtonDesign kButtonDesigns[SystemPage::kButtons] = {
    {{625, 136, 77, 18}, &uitext::CheckSystemPassword},
    {{625, 36, 77, 18}, &uitext::CheckKeyPassword},
    {{625, 66, 77, 18}, &uitext::ChangeKeyPassword},
    {{870, 94, 77, 18}, &uitext::UseMode},
    {{962, 94, 77, 18}, &uitext::SaveMode},
    {{505, 296, 77, 18}, &uitext::ResetPasswords},
    {{625, 296, 77, 18}, &uitext::ChangeSystemPassword},
    {{750, 198, 150, 22}, &uitext::SaveModeLocal},
    {{906, 198, 150, 22}, &uitext::DeleteInLocal},
    {{750, 228, 150, 22}, &uitext::UpdateToEquipment},
    {{906, 228, 150, 22}, &uitext::WifiSet},
    {{750, 384, 150, 22}, &uitext::Route},
};

// Dialog controls: a label column and a field column per group.
constexpr double kRowHeight = 22;
constexpr Place kKeyLockLabel{400, 34, 100, kRowHeight};
constexpr Place kKeyLockEdit{505, 34, 110, kRowHeight};
constexpr Place kNewKeyLockLabel{400, 64, 100, kRowHeight};
constexpr Place kNewKeyLockEdit{505, 64, 110, kRowHeight};
constexpr Place kKeyLockOn{505, 94, 90, kRowHeight};
constexpr Place kKeyLockOff{600, 94, 110, kRowHeight};
constexpr Place kSystemLabel{400, 134, 100, kRowHeight};
constexpr Place kSystemEdit{505, 134, 110, kRowHeight};
constexpr Place kUser{505, 164, 22, kRowHeight};
constexpr Place kAdmin{593, 164, 22, kRowHeight};
constexpr Place kChangeLabels[3] = {
    {400, 200, 100, kRowHeight}, {400, 230, 100, kRowHeight}, {400, 260, 100, kRowHeight}};
constexpr Place kChangeEdits[3] = {
    {505, 200, 110, kRowHeight}, {505, 230, 110, kRowHeight}, {505, 260, 110, kRowHeight}};
constexpr Place kLanguageLabel{400, 344, 100, kRowHeight};
constexpr Place kLanguageListAt{505, 346, 169, 80};
constexpr Place kBootLabel{400, 380, 100, kRowHeight};
constexpr Place kBootListAt{505, 382, 169, 200};
constexpr Place kModeLabel{746, 34, 118, kRowHeight};
constexpr Place kModeListAt{870, 36, 169, 200};
constexpr Place kNameLabel{746, 64, 118, kRowHeight};
constexpr Place kNameEdit{870, 64, 169, kRowHeight};
constexpr Place kFileLabel{746, 166, 118, kRowHeight};
constexpr Place kFileList{870, 166, 169, kRowHeight};
constexpr Place kMusicGateLabel{54, 292, 250, kRowHeight};
constexpr Place kMusicGate{30, 292, 22, kRowHeight};
constexpr Place kMicGateLabel{54, 360, 250, kRowHeight};
constexpr Place kMicGate{30, 360, 22, kRowHeight};
constexpr Place kSurroundSide{750, 298, 22, kRowHeight};
constexpr Place kSurroundBack{750, 330, 22, kRowHeight};

const char* const kLanguages[] = {"简体中文", "繁体中文", "English"};

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString joined(const TextTriple& first, const TextTriple& second) {
    return text(first) + text(second);
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

// Dialog controls draw in the page's own colours over the skin; the
// indicators of radios and check boxes grow with the window. The skinned
// lists keep their own list style: this one would put white on their light list.
QString pageStyle(double s) {
    int box = std::max(9, static_cast<int>(13 * s));
    return QStringLiteral(
               "QLabel, QRadioButton, QCheckBox { color: #f0f0f0; background: transparent; }"
               "QLabel:disabled, QRadioButton:disabled, QCheckBox:disabled { color: #7d8794; }"
               "QLineEdit, QComboBox#files { color: #f0f0f0; background: rgb(40, 58, 79);"
               " border: 1px solid rgb(92, 114, 140); border-radius: 2px; padding: 0 3px; }"
               "QLineEdit:disabled { color: #7d8794; border-color: rgb(60, 74, 92); }"
               "QComboBox#files QAbstractItemView { color: #f0f0f0; background: rgb(40, 58, 79);"
               " selection-background-color: rgb(43, 184, 236); }"
               "QRadioButton::indicator, QCheckBox::indicator { width: %1px; height: %1px;"
               " border: 1px solid rgb(120, 145, 175); background: rgb(40, 58, 79); }"
               "QRadioButton::indicator { border-radius: %2px; }"
               "QRadioButton::indicator:checked, QCheckBox::indicator:checked {"
               " background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,"
               " stop:0 rgb(120, 220, 250), stop:0.55 rgb(43, 184, 236), stop:0.6 rgb(40, 58, 79));"
               " }"
               "QCheckBox::indicator:checked { background: rgb(43, 184, 236); }"
               "QRadioButton::indicator:disabled, QCheckBox::indicator:disabled {"
               " border-color: rgb(70, 84, 102); }")
        .arg(box)
        .arg(box / 2 + 1);
}

// Rows spread over the page's height.
constexpr double kSpread = 1.25;

Place spread(const Place& p) {
    return {p.x, p.y * kSpread, p.width, p.height};
}

}  // namespace

SystemPage::Jobs SystemPage::jobsOf(PresetJobs& jobs) {
    return {[&jobs](const std::string& name) { jobs.requestSaveToFile(name); },
            [&jobs](const std::string& name) { jobs.requestSendFile(name); },
            [&jobs](int n) { return jobs.requestRecall(n); },
            [&jobs](int n) { return jobs.requestReadName(n); },
            [&jobs](int n, const std::string& name) { return jobs.requestSaveName(n, name); }};
}

SystemPage::SystemPage(ParameterBinding& binding, const LinkState& state, const DeviceInfo& device,
                       Jobs jobs, QWidget* parent)
    : Page(parent), m_binding(binding), m_state(state), m_device(device), m_jobs(std::move(jobs)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setStyleSheet(pageStyle(1.0));
    for (auto& s : m_sliders) s.setParent(this);
    for (auto& b : m_buttons) b.setParent(this);
    for (auto& l : m_skinLabels) l.setParent(this);
    for (SkinComboBox* c : {&m_modeList, &m_bootList, &m_languageList}) c->setParent(this);
    createDialogControls();
    fillModeLists();
    for (const char* language : kLanguages) m_languageList.addItem(QString::fromUtf8(language));
    m_languageList.setSelection(Language::index());
    fillFileList();
    connectDialogControls();
}

SystemPage::~SystemPage() = default;

void SystemPage::createDialogControls() {
    auto label = [this] {
        auto* l = new QLabel(this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    auto edit = [this](bool password) {
        auto* e = new QLineEdit(this);
        if (password) e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_keyLockLabel = label();
    m_keyLockEdit = edit(true);
    m_newKeyLockLabel = label();
    m_newKeyLockEdit = edit(true);
    m_keyLockOn = new QRadioButton(this);
    m_keyLockOff = new QRadioButton(this);
    m_systemLabel = label();
    m_systemEdit = edit(true);
    m_user = new QRadioButton(this);
    m_admin = new QRadioButton(this);
    for (auto& l : m_changeLabels) l = label();
    m_oldEdit = edit(true);
    m_newEdit = edit(true);
    m_confirmEdit = edit(true);
    m_modeLabel = label();
    m_nameLabel = label();
    m_nameEdit = edit(false);
    m_fileLabel = label();
    m_fileList = new QComboBox(this);
    m_fileList->setObjectName(QStringLiteral("files"));
    m_fileList->setEditable(true);
    m_fileList->setInsertPolicy(QComboBox::NoInsert);
    m_languageLabel = label();
    m_bootLabel = label();
    m_musicGateLabel = label();
    m_musicGate = new QCheckBox(this);
    m_micGateLabel = label();
    m_micGate = new QCheckBox(this);
    for (QLabel* l : {m_musicGateLabel, m_micGateLabel})
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_surroundSide = new QRadioButton(this);
    m_surroundBack = new QRadioButton(this);

    // Each pair of radios is a group of its own.
    for (QRadioButton* r : {m_keyLockOn, m_keyLockOff, m_user, m_admin}) r->setAutoExclusive(false);
    m_surroundSide->setAutoExclusive(false);
    m_surroundBack->setAutoExclusive(false);
    m_user->setChecked(true);
    // Until the right passwords are given.
    for (QWidget* w : std::initializer_list<QWidget*>{m_newKeyLockLabel, m_newKeyLockEdit, m_user,
                                                      m_admin, m_oldEdit, m_newEdit, m_confirmEdit})
        w->setEnabled(false);
    for (QLabel* l : m_changeLabels) l->setEnabled(false);
}

void SystemPage::connectDialogControls() {
    auto pair = [this](QRadioButton* on, QRadioButton* off, std::function<void(bool)> chosen) {
        connect(on, &QRadioButton::clicked, this, [on, off, chosen] {
            on->setChecked(true);
            off->setChecked(false);
            if (chosen) chosen(true);
        });
        connect(off, &QRadioButton::clicked, this, [on, off, chosen] {
            off->setChecked(true);
            on->setChecked(false);
            if (chosen) chosen(false);
        });
    };
    pair(m_keyLockOn, m_keyLockOff, [this](bool on) { write(Values::kKeyLock, on ? 1 : 0); });
    pair(m_user, m_admin, nullptr);
    pair(m_surroundBack, m_surroundSide,
         [this](bool back) { write(Values::kSurround, back ? 1 : 0); });
    connect(m_musicGate, &QCheckBox::clicked, this,
            [this](bool on) { write(Values::kMusicGate, on ? 1 : 0); });
    connect(m_micGate, &QCheckBox::clicked, this,
            [this](bool on) { write(Values::kMicGate, on ? 1 : 0); });
}

// --- layout and drawing ---

void SystemPage::setBackgroundSource(DrawingSurface* source) {
    m_source = source;
    layout();
}

void SystemPage::resizeEvent(QResizeEvent*) {
    layout();
}

void SystemPage::layout() {
    QWidget* root = window();
    if (!m_source || !root || root->width() <= 0) return;
    double sx = root->width() / kDesignWidth;
    double sy = root->height() / kDesignHeight;
    if (!m_created) createSkinnedControls(sx, sy);
    placeControls(sx, sy);
    update();
}

void SystemPage::createSkinnedControls(double sx, double sy) {
    m_created = true;
    for (int k = 0; k < kSliders; ++k) {
        ValueSlider& s = slider(k);
        const SliderDesign& d = kSliderDesigns[k];
        s.create(PageLayout::scaled(spread(d.place), sx, sy));
        connect(&s, &ValueSlider::valueChanged, this, [this, k] { sliderChanged(k); });
        s.setLabelMode(true);
        s.setLevelBar(false);
        s.setLabelColour(kSliderText);
        bool gate = k == kMicGateSlider || k == kMusicGateSlider;
        s.setRange(0, gate ? Values::kGatePositions - 1 : 100);
        s.setSkin(m_source);
        s.setValue(gate ? 1 : (k % 2 == 1 && k < kVolumeSliders ? 100 : 0));
        if (!d.present) {
            s.setShown(false);
            s.hide();
        }
    }
    for (size_t i = 0; i < m_skinLabels.size(); ++i) {
        m_skinLabels[i].create(QRect());
        m_skinLabels[i].setBackground(m_source);
    }
    for (int b = 0; b < kButtons; ++b) {
        SkinButton& button = this->button(b);
        bool small = b <= SystemChange;
        button.create(
            QRect(QPoint(), small ? SkinLayout::kButtonFrame : SkinLayout::kDarkButtonFrame));
        button.setImage(m_source, small ? SkinId::Button : SkinId::DarkButton);
        connect(&button, &SkinButton::clicked, this, [this, b] { buttonAction(b); });
    }
    for (int b : {KeyLockChange, ResetPasswords, SystemChange}) button(b).setInputEnabled(false);
    button(WifiSet).setShown(false);
    button(WifiSet).hide();
    connect(&m_modeList, &SkinComboBox::selectionChosen, this, &SystemPage::modeSelected);
    connect(&m_bootList, &SkinComboBox::selectionChosen, this,
            [this] { write(Values::kBootMode, std::max(m_bootList.selection(), 0)); });
    connect(&m_languageList, &SkinComboBox::selectionChosen, this, &SystemPage::languageChosen);
    for (SkinComboBox* combo : {&m_modeList, &m_bootList, &m_languageList}) {
        int selection = combo->selection();
        combo->create(QRect());
        combo->setSkin(m_source, SkinComboBox::Style::Page);
        combo->setFontHeight(14);
        combo->setFaceName(kFace);
        combo->setSelection(selection);
    }
    refreshTexts();
}

void SystemPage::placeControls(double sx, double sy) {
    double s = std::min(sx, sy);
    auto at = [sx, sy](const Place& p) { return PageLayout::scaled(spread(p), sx, sy); };
    for (int k = 0; k < kSliders; ++k)
        if (kSliderDesigns[k].present) slider(k).setGeometry(at(kSliderDesigns[k].place));
    for (size_t i = 0; i < m_skinLabels.size(); ++i) {
        SkinLabel& l = m_skinLabels[i];
        l.setGeometry(at(kLabelDesigns[i].place));
        l.setTextStyle(std::trunc(12 * s), kFace, kLabelText, kLeftCentred);
    }
    for (int b = 0; b < kButtons; ++b) {
        button(b).setGeometry(at(kButtonDesigns[b].place));
        button(b).setTextStyle(12 * s, kFace, kButtonText, kCentred, kButtonTextOn);
    }
    m_modeList.place(at(kModeListAt));
    m_bootList.place(at(kBootListAt));
    m_languageList.place(at(kLanguageListAt));

    const std::pair<QWidget*, Place> dialog[] = {
        {m_keyLockLabel, kKeyLockLabel},
        {m_keyLockEdit, kKeyLockEdit},
        {m_newKeyLockLabel, kNewKeyLockLabel},
        {m_newKeyLockEdit, kNewKeyLockEdit},
        {m_keyLockOn, kKeyLockOn},
        {m_keyLockOff, kKeyLockOff},
        {m_systemLabel, kSystemLabel},
        {m_systemEdit, kSystemEdit},
        {m_user, kUser},
        {m_admin, kAdmin},
        {m_changeLabels[0], kChangeLabels[0]},
        {m_changeLabels[1], kChangeLabels[1]},
        {m_changeLabels[2], kChangeLabels[2]},
        {m_oldEdit, kChangeEdits[0]},
        {m_newEdit, kChangeEdits[1]},
        {m_confirmEdit, kChangeEdits[2]},
        {m_modeLabel, kModeLabel},
        {m_nameLabel, kNameLabel},
        {m_nameEdit, kNameEdit},
        {m_fileLabel, kFileLabel},
        {m_fileList, kFileList},
        {m_languageLabel, kLanguageLabel},
        {m_bootLabel, kBootLabel},
        {m_musicGateLabel, kMusicGateLabel},
        {m_musicGate, kMusicGate},
        {m_micGateLabel, kMicGateLabel},
        {m_micGate, kMicGate},
        {m_surroundSide, kSurroundSide},
        {m_surroundBack, kSurroundBack},
    };
    setStyleSheet(pageStyle(s));
    QFont font = FontFaces::pixelFont(kFace, std::max(8.0, std::trunc(12 * s)));
    for (auto [widget, place] : dialog) {
        widget->setGeometry(at(place));
        widget->setFont(font);
    }
}

void SystemPage::paintEvent(QPaintEvent*) {
    ControlSurface::paintSourcePiece(this, m_source);
    QWidget* root = window();
    if (!root || root->width() <= 0) return;
    double sx = root->width() / kDesignWidth;
    double sy = root->height() / kDesignHeight;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kFrameLine, 1));
    for (const Group& g : kGroups) {
        QRectF r(g.frame.x * sx, g.frame.y * kSpread * sy, g.frame.width * sx,
                 g.frame.height * kSpread * sy);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

// --- texts ---

void SystemPage::refreshTexts() {
    for (int k = 0; k < kSliders; ++k) refreshItem(k);
    refreshItem(kFixedTexts);
}

void SystemPage::refreshItem(int item) {
    if (item >= 0 && item < kSliders) {
        if (kSliderDesigns[item].present) slider(item).setLabelText(sliderLabel(item));
        return;
    }
    if (item != kFixedTexts) return;
    for (size_t i = 0; i < m_skinLabels.size(); ++i)
        m_skinLabels[i].setText(text(*kLabelDesigns[i].text));
    for (int b = 0; b < kButtons; ++b) button(b).setText(text(*kButtonDesigns[b].text));
    m_keyLockLabel->setText(text(uitext::KeyPassword));
    m_newKeyLockLabel->setText(text(uitext::NewKeyPassword));
    m_keyLockOn->setText(text(uitext::Enable));
    m_keyLockOff->setText(text(uitext::Disable));
    m_systemLabel->setText(text(uitext::SystemPassword));
    m_changeLabels[0]->setText(text(uitext::OldPassword));
    m_changeLabels[1]->setText(text(uitext::NewSystemPassword));
    m_changeLabels[2]->setText(text(uitext::ConfirmPasswordLabel));
    m_modeLabel->setText(text(uitext::ModeNumber));
    m_nameLabel->setText(text(uitext::ModeName));
    m_fileLabel->setText(text(uitext::LocalModeName));
    m_languageLabel->setText(text(uitext::LanguageLabel));
    m_bootLabel->setText(text(uitext::BootMode));
    m_musicGateLabel->setText(joined(uitext::PageMusic, uitext::NoiseGate));
    m_micGateLabel->setText(joined(uitext::SystemMic, uitext::NoiseGate));
    if (m_bootList.count() > 0) {
        m_bootList.setItemText(0, text(uitext::Auto));
        m_bootList.setSelection(m_bootList.selection());  // the face shows the new text
    }
}

QString SystemPage::sliderLabel(int k) const {
    const SliderDesign& d = kSliderDesigns[k];
    if (!d.text) return {};
    std::string format = d.row ? std::string(d.row->get()) + d.text->get() : d.text->get();
    return QString::fromStdString(SliderScale::formatLabel(format, position(k)));
}

// --- fields ---

int SystemPage::position(int k) const {
    return static_cast<int>(
        m_sliders[static_cast<size_t>(k)].scale().clamp(m_sliders[static_cast<size_t>(k)].value()));
}

int SystemPage::getField(int field) const {
    if (field >= 0 && field < kVolumeSliders) return position(field);
    switch (field) {
        case kMicGateSlider:
        case kMusicGateSlider:
            return Values::gateValue(position(field));
        case 12:
            return m_micGate->isChecked() ? 1 : 0;
        case 13:
            return m_musicGate->isChecked() ? 1 : 0;
        case 14:
            return m_keyLockOn->isChecked() ? 1 : 0;
        case 17:
            return std::max(m_bootList.selection(), 0);
        case 18:
            return m_modeList.selection() + 1;
        case 21:
            return m_surroundBack->isChecked() ? 1 : 0;
        default:
            return 0;
    }
}

void SystemPage::setField(int field, int value) {
    if (field >= 0 && field < kVolumeSliders) {
        if (kSliderDesigns[field].present) slider(field).setValue(std::clamp(value, 0, 100));
        refreshItem(field);
        return;
    }
    switch (field) {
        case kMicGateSlider:
        case kMusicGateSlider:
            slider(field).setValue(Values::gatePosition(value));
            refreshItem(field);
            break;
        case 12:
            m_micGate->setChecked(value == 1);
            break;
        case 13:
            m_musicGate->setChecked(value == 1);
            break;
        case 14:
            m_keyLockOn->setChecked(value == 1);
            m_keyLockOff->setChecked(value != 1);
            break;
        case 17:
            if (value >= 0 && value <= Values::kModes) m_bootList.setSelection(value);
            break;
        case 18:
            if (value >= 1 && value <= Values::kModes) m_modeList.setSelection(value - 1);
            break;
        case 19:
            fillModeLists();
            m_nameEdit->setText(
                QString::fromStdString(DeviceText::utf8(m_device.modeNameText(selectedMode()))));
            break;
        case 21:
            m_surroundBack->setChecked(value == 1);
            m_surroundSide->setChecked(value != 1);
            break;
        default:
            break;
    }
}

// Both lists keep their selections.
void SystemPage::fillModeLists() {
    int mode = m_modeList.selection();
    int boot = m_bootList.selection();
    m_modeList.clear();
    m_bootList.clear();
    m_bootList.addItem(text(uitext::Auto));
    for (int n = 1; n <= Values::kModes; ++n) {
        QString item = QString::fromStdString(Values::modeItem(
            n, DeviceText::utf8(m_device.modeNameText(n)), m_device.nameReceived(n)));
        m_modeList.addItem(item);
        m_bootList.addItem(item);
    }
    m_modeList.setSelection(std::max(mode, 0));
    m_bootList.setSelection(std::max(boot, 0));
}

void SystemPage::fillFileList() {
    m_fileList->clear();
    for (const std::string& name : PresetFiles().listPresets())
        m_fileList->addItem(QString::fromStdString(name));
    // No file is chosen for the user: a send or a delete names its file first.
    m_fileList->setCurrentIndex(-1);
}

// --- user actions ---

void SystemPage::write(int index, int value) {
    m_binding.writeParameter(index, static_cast<uint16_t>(value));
}

void SystemPage::box(const QString& message) {
    MessageBox::show(this, {message, QString(), Language::index(), MessageBox::Buttons::Ok});
}

// A start never stays above its maximum; a maximum takes its start down with it.
void SystemPage::sliderChanged(int k) {
    if (k == kMicGateSlider || k == kMusicGateSlider) {
        write(k == kMicGateSlider ? Values::kMicGateThreshold : Values::kMusicGateThreshold,
              Values::gateValue(position(k)));
        refreshItem(k);
        return;
    }
    for (const VolumePair& pair : kVolumePairs) {
        if (k == pair.start) {
            if (position(pair.start) > position(pair.max))
                slider(pair.start).setValue(position(pair.max));
            write(pair.startIndex, position(pair.start));
        } else if (k == pair.max) {
            emit volumeLimitChanged();
            if (position(pair.start) > position(pair.max)) {
                slider(pair.start).setValue(position(pair.max));
                write(pair.startIndex, position(pair.start));
                refreshItem(pair.start);
            }
            write(pair.maxIndex, position(pair.max));
        } else {
            continue;
        }
        refreshItem(k);
        return;
    }
}

void SystemPage::buttonAction(int b) {
    switch (b) {
        case SystemCheck:
            checkSystem();
            break;
        case KeyLockCheck:
            checkKeyLock();
            break;
        case KeyLockChange:
            changeKeyLock();
            break;
        case UseMode:
            useMode();
            break;
        case SaveMode:
            saveMode();
            break;
        case ResetPasswords:
            for (QLineEdit* e : {m_oldEdit, m_newEdit, m_confirmEdit}) e->clear();
            break;
        case SystemChange:
            changeSystem();
            break;
        case SaveLocal:
            saveLocal();
            break;
        case DeleteLocal:
            deleteLocal();
            break;
        case SendLocal:
            sendLocal();
            break;
        case Route:
            emit routingAsked();
            break;
        default:
            break;
    }
}

// --- passwords ---

uint32_t SystemPage::storedSystemPassword() const {
    const Mirror& mirror = m_binding.mirror();
    return Values::systemPassword(mirror.value(Values::kSystemPasswordHigh),
                                  mirror.value(Values::kSystemPasswordLow));
}

void SystemPage::checkKeyLock() {
    if (!m_state.alive()) return box(text(uitext::NoDevice));
    auto packed = Values::packPassword(utf8(m_keyLockEdit->text()), Values::kKeyLockDigits);
    if (!packed) return box(text(uitext::PasswordFourDigits));
    if (*packed != m_binding.mirror().value(Values::kKeyLockPassword))
        return box(text(uitext::WrongPassword));
    m_newKeyLockLabel->setEnabled(true);
    m_newKeyLockEdit->setEnabled(true);
    button(KeyLockChange).setInputEnabled(true);
}

void SystemPage::changeKeyLock() {
    auto packed = Values::packPassword(utf8(m_newKeyLockEdit->text()), Values::kKeyLockDigits);
    if (!packed) return box(joined(uitext::NewPrefix, uitext::PasswordFourDigits));
    write(Values::kKeyLockPassword, static_cast<int>(*packed));
    box(text(uitext::PasswordChanged));
}

void SystemPage::checkSystem() {
    if (!m_state.alive()) return box(text(uitext::NoDevice));
    auto packed = Values::packPassword(utf8(m_systemEdit->text()), Values::kSystemDigits);
    m_systemEdit->clear();
    if (!packed) return box(text(uitext::PasswordSixDigits));
    if (*packed != storedSystemPassword()) return box(text(uitext::WrongPassword));
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_user, m_admin, m_oldEdit, m_newEdit, m_confirmEdit})
        w->setEnabled(true);
    for (QLabel* l : m_changeLabels) l->setEnabled(true);
    button(ResetPasswords).setInputEnabled(true);
    button(SystemChange).setInputEnabled(true);
}

void SystemPage::changeSystem() {
    auto old = Values::packPassword(utf8(m_oldEdit->text()), Values::kSystemDigits);
    if (!old) return box(text(uitext::PasswordSixDigits));
    if (*old != storedSystemPassword()) return box(text(uitext::WrongPassword));
    auto fresh = Values::packPassword(utf8(m_newEdit->text()), Values::kSystemDigits);
    if (!fresh) return box(joined(uitext::NewPrefix, uitext::PasswordSixDigits));
    if (m_newEdit->text() != m_confirmEdit->text()) return box(text(uitext::NewPasswordsDiffer));
    write(Values::kSystemPasswordLow, Values::systemPasswordLow(*fresh));
    write(Values::kSystemPasswordHigh, Values::systemPasswordHigh(*fresh));
    box(text(uitext::PasswordChanged));
}

// --- modes ---

bool SystemPage::administrator() const {
    return m_admin->isChecked();
}

bool SystemPage::mayStore() {
    int deviceMode = m_binding.mirror().value(Values::kCurrentMode);
    if (Values::mayStore(administrator(), deviceMode, selectedMode())) return true;
    box(text(uitext::NoPermission));
    return false;
}

void SystemPage::modeSelected() {
    if (m_jobs.readName) m_jobs.readName(selectedMode());
}

void SystemPage::useMode() {
    if (m_jobs.recall) m_jobs.recall(selectedMode());
}

// The name goes as far as the device keeps it, whole characters only, and
// the edit shows what goes.
void SystemPage::saveMode() {
    if (!mayStore()) return;
    std::string name = Values::fitName(utf8(m_nameEdit->text()), PresetJobs::kSentNameBytes);
    m_nameEdit->setText(QString::fromStdString(name));
    if (m_jobs.saveName) m_jobs.saveName(selectedMode(), name);
}

void SystemPage::saveLocal() {
    if (!mayStore()) return;
    if (!m_state.alive()) return box(text(uitext::NoDevice));
    std::string name = utf8(m_fileList->currentText().trimmed());
    if (name.empty()) return box(text(uitext::EnterFileName));
    name = PresetFiles::withPresetExtension(name);
    if (PresetFiles().presetExists(name)) {
        QString question = QString::fromStdString(name) + text(uitext::FileExistsOverwrite);
        auto answer = MessageBox::show(this, {question, text(uitext::Warning), Language::index(),
                                              MessageBox::Buttons::OkCancel});
        if (answer != MessageBox::Answer::Yes) return;
    } else {
        m_fileList->addItem(QString::fromStdString(name));
    }
    if (m_jobs.saveToFile) m_jobs.saveToFile(name);
}

bool SystemPage::confirmed(const TextTriple& question, const std::string& name) {
    QString asked = QString::fromStdString(formatText(question, name.c_str()));
    return MessageBox::show(this, {asked, text(uitext::Warning), Language::index(),
                                   MessageBox::Buttons::OkCancel}) == MessageBox::Answer::Yes;
}

void SystemPage::deleteLocal() {
    if (!mayStore()) return;
    std::string name = utf8(m_fileList->currentText().trimmed());
    if (name.empty()) return box(text(uitext::DeleteFailedNoFile));
    if (!confirmed(presetfiletext::DeleteQuestion, PresetFiles::withPresetExtension(name))) return;
    PresetFiles().deletePreset(name);
    fillFileList();
}

void SystemPage::sendLocal() {
    if (!mayStore()) return;
    std::string name = utf8(m_fileList->currentText().trimmed());
    if (name.empty()) return box(text(uitext::NoFilesSelected));
    name = PresetFiles::withPresetExtension(name);
    if (!confirmed(presetfiletext::SendQuestion, name)) return;
    if (m_jobs.sendFile) m_jobs.sendFile(name);
}

void SystemPage::languageChosen() {
    int language = m_languageList.selection();
    if (!Language::set(language)) return;
    Settings().writeInt("Language", "Language", language);
    emit languageChanged();
}
