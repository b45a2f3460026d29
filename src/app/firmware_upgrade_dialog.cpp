#include "app/firmware_upgrade_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <optional>

#include "files/file_digest.h"
#include "files/upgrade_package.h"
#include "link/firmware_upgrade.h"
#include "texts/upgrade_texts.h"

namespace {

constexpr int kFollowMs = 100;
constexpr int kDescribeMs = 250;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

}  // namespace

FirmwareUpgradeDialog::FirmwareUpgradeDialog(FirmwareUpgrade& upgrade, QWidget* owner)
    : QDialog(owner),
      m_upgrade(upgrade),
      m_target(new QComboBox(this)),
      m_file(new QLineEdit(this)),
      m_browse(new QPushButton(text(upgradetext::Browse), this)),
      m_start(new QPushButton(text(upgradetext::Start), this)),
      m_interrupt(new QPushButton(text(upgradetext::Interrupt), this)),
      m_progress(new QProgressBar(this)),
      m_summary(new QLabel(this)) {
    setWindowTitle(text(upgradetext::DialogTitle));
    for (int type = 1; type <= FirmwareUpgrade::kTypes; ++type)
        m_target->addItem(text(upgradetext::TargetNames[type]), type);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(text(upgradetext::Target), this), 0, 0);
    grid->addWidget(m_target, 0, 1, 1, 2);
    grid->addWidget(new QLabel(text(upgradetext::PackageFile), this), 1, 0);
    grid->addWidget(m_file, 1, 1);
    grid->addWidget(m_browse, 1, 2);
    grid->addWidget(m_summary, 2, 0, 1, 3);
    grid->addWidget(m_progress, 3, 0, 1, 3);
    grid->addWidget(m_start, 4, 1);
    grid->addWidget(m_interrupt, 4, 2);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setMinimumWidth(m_summary->fontMetrics().horizontalAdvance(QString(66, '0')));
    // Described once typing pauses, not at every key.
    m_describe.setSingleShot(true);
    m_describe.setInterval(kDescribeMs);
    connect(&m_describe, &QTimer::timeout, this, [this] { describeFile(); });
    connect(m_file, &QLineEdit::textChanged, this, [this] { m_describe.start(); });

    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    connect(m_interrupt, &QPushButton::clicked, this, [this] { m_upgrade.interrupt(); });
    connect(&m_timer, &QTimer::timeout, this, [this] { follow(); });
    setRunning(false);
}

int FirmwareUpgradeDialog::chosenType() const {
    return m_target->currentData().toInt();
}

void FirmwareUpgradeDialog::browse() {
    QString name =
        QFileDialog::getOpenFileName(this, text(upgradetext::DialogTitle), m_file->text());
    if (!name.isEmpty()) m_file->setText(name);
}

// The format has no checksum: the digest lets the user compare the file with
// what its maker published before anything reaches the device.
void FirmwareUpgradeDialog::describeFile() {
    const std::string path = m_file->text().toStdString();
    UpgradePackage package;
    UpgradePackage::Problem problem =
        path.empty() ? UpgradePackage::Problem::CannotOpen : package.load(path);
    std::optional<FileDigest::Digest> digest;
    if (problem == UpgradePackage::Problem::None) digest = FileDigest::sha256OfFile(path);
    if (!digest) {
        m_summary->setText(problem == UpgradePackage::Problem::CannotOpen
                               ? QString()
                               : text(FirmwareUpgrade::problemText(problem)));
        return;
    }
    m_summary->setText(QString::fromStdString(
        formatText(upgradetext::PackageSummary, static_cast<unsigned long>(package.image().size()),
                   FileDigest::hex(*digest).c_str())));
}

void FirmwareUpgradeDialog::start() {
    if (m_running || m_file->text().isEmpty()) return;
    // The size for the bar only; the job checks the file itself and says what is wrong.
    UpgradePackage package;
    package.load(m_file->text().toStdString());
    m_imageSize = package.image().size();
    m_progress->setRange(0, static_cast<int>(std::max<size_t>(m_imageSize, 1)));
    m_progress->setValue(0);
    m_serial = m_upgrade.lastOutcome().serial;
    if (!m_upgrade.request(chosenType(), m_file->text().toStdString())) return;
    setRunning(true);
    m_timer.start(kFollowMs);
}

void FirmwareUpgradeDialog::follow() {
    m_progress->setValue(static_cast<int>(std::min(m_upgrade.acknowledged(), m_imageSize)));
    if (m_upgrade.lastOutcome().serial == m_serial) return;
    m_timer.stop();
    setRunning(false);
}

void FirmwareUpgradeDialog::setRunning(bool running) {
    m_running = running;
    m_target->setEnabled(!running);
    m_file->setEnabled(!running);
    m_browse->setEnabled(!running);
    m_start->setEnabled(!running);
    m_interrupt->setEnabled(running);
}
