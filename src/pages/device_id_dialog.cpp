#include "pages/device_id_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "files/settings.h"
#include "link/module_table.h"
#include "platform/qt/message_box.h"
#include "texts/device_id_dialog_texts.h"
#include "texts/language.h"

namespace {

constexpr const char* kFile = "WIFI_Mode";
constexpr const char* kMemory = "Device_IDMemory";
constexpr const char* kId = "Device_ID";
constexpr const char* kIds = "Device_IDS";

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString hex(int id) {
    return QString::asprintf("%0X", static_cast<unsigned>(id));
}

}  // namespace

DeviceIdDialog::DeviceIdDialog(QWidget* parent)
    : QDialog(parent),
      m_ids(new QComboBox(this)),
      m_remember(new QCheckBox(text(deviceidtext::RememberHistory), this)),
      m_connect(new QPushButton(text(deviceidtext::Connect), this)),
      m_clear(new QPushButton(text(deviceidtext::ClearRecord), this)) {
    setWindowTitle(text(deviceidtext::InputDeviceId));
    m_ids->setEditable(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(text(deviceidtext::WhereToFindId).remove(QLatin1Char('\r')), this),
                    0, 0, 1, 3);
    grid->addWidget(new QLabel(text(deviceidtext::InputDeviceId), this), 1, 0);
    grid->addWidget(m_ids, 1, 1, 1, 2);
    grid->addWidget(m_remember, 2, 0);
    grid->addWidget(m_clear, 2, 1);
    grid->addWidget(m_connect, 2, 2);
    m_connect->setDefault(true);
    connect(m_connect, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { clearRecord(); });
    connect(m_remember, &QCheckBox::clicked, this, [] { Settings().writeInt(kFile, kMemory, 0); });
    load();
}

void DeviceIdDialog::load() {
    Settings settings;
    int memory = settings.readInt(kFile, kMemory);
    // A missing key reads -1, which ticks the box as any non-zero value does.
    m_remember->setChecked(memory != 0);
    if (memory != 1) return;
    for (int i = 0; i < kListedIds; ++i) {
        int id = settings.readListItem(kFile, kIds, i);
        if (id == -1) break;
        if (id != 0) m_ids->addItem(hex(id));
    }
    int remembered = settings.readInt(kFile, kId);
    if (remembered != 0 && remembered != -1) m_ids->setEditText(hex(remembered));
}

void DeviceIdDialog::confirm() {
    QString typed = m_ids->currentText();
    if (typed.isEmpty()) {
        MessageBox::show(this, {text(deviceidtext::DeviceIdEmpty), windowTitle(), Language::index(),
                                MessageBox::Buttons::Ok});
        return;
    }
    QByteArray bytes = typed.toLatin1();
    m_deviceId = ModuleTable::parseHex(bytes.constData(), static_cast<size_t>(bytes.size()));
    Settings settings;
    if (m_remember->isChecked()) {
        settings.writeInt(kFile, kId, static_cast<int>(m_deviceId));
        settings.writeInt(kFile, kMemory, 1);
    } else if (settings.readInt(kFile, kMemory) == 1) {
        settings.writeInt(kFile, kId, 0);
        settings.writeInt(kFile, kMemory, 0);
    }
    accept();
}

void DeviceIdDialog::clearRecord() {
    Settings settings;
    settings.clearList(kFile, kIds);
    settings.writeInt(kFile, kId, -1);
    m_ids->clear();
    m_ids->setEditText(QString());
}
