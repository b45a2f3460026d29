#include "app/progress_dialog.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <algorithm>

#include "app/progress_text.h"
#include "platform/qt/font_faces.h"
#include "platform/qt/mouse.h"
#include "resources/skin_art.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

constexpr int kBarStart = 27;
constexpr int kBarSpan = 489;  // to 516 at 100 %
const QRect kTextRect(0, 90, ProgressDialog::kWidth, ProgressDialog::kHeight - 90);
// Below the bar, right of the centred percentage.
const QRect kCancelRect(ProgressDialog::kWidth - 96, ProgressDialog::kHeight - 36, 84, 28);

// The whole skin picture with `ratio` device pixels per pixel.
QImage art(SkinId id, qreal ratio) {
    QSizeF size(ProgressDialog::kWidth, ProgressDialog::kHeight);
    QImage image = SkinArt::render(id, QRectF(QPointF(0, 0), size), (size * ratio).toSize());
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

ProgressDialog::ProgressDialog(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_owner(owner),
      m_cancel(new QPushButton(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowOpacity(kAlpha / 255.0);
    m_active = true;
    m_ratio = devicePixelRatioF();
    m_font = FontFaces::pointFont(QString::fromUtf8("黑体"), 25);
    m_format = QString::fromUtf8("欢迎使用!");
    m_picture = SkinArt::image(SkinId::ProgressEmpty);
    resize(kWidth, kHeight);
    m_cancel->setGeometry(kCancelRect);
    m_cancel->setFocusPolicy(Qt::NoFocus);
    m_cancel->hide();
    QObject::connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });
    recentre();
    compose(m_format, m_maximum, 0);
}

void ProgressDialog::setMaximum(int maximum) {
    std::lock_guard lock(m_mutex);
    m_maximum = maximum;
}

void ProgressDialog::setFormat(const QString& format) {
    std::lock_guard lock(m_mutex);
    m_format = format;
    m_formatGiven = !format.isEmpty();
}

bool ProgressDialog::showsProgress() const {
    std::lock_guard lock(m_mutex);
    return m_formatGiven;
}

void ProgressDialog::setPosition(int position) {
    QString format;
    int maximum;
    {
        std::lock_guard lock(m_mutex);
        format = m_format;
        maximum = m_maximum;
    }
    compose(format, maximum, position);
    QMetaObject::invokeMethod(
        this,
        [this] {
            recentre();
            update();
        },
        Qt::QueuedConnection);
}

void ProgressDialog::showDialog() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            recentre();
            show();
            raise();
        },
        Qt::QueuedConnection);
}

void ProgressDialog::hideDialog() {
    QMetaObject::invokeMethod(
        this, [this] { hide(); }, Qt::QueuedConnection);
}

void ProgressDialog::setCancellable(bool cancellable) {
    if (cancellable) m_cancelled = false;
    const QString label = QString::fromUtf8(uitext::Cancel.get());
    QMetaObject::invokeMethod(
        this,
        [this, cancellable, label] {
            m_cancel->setText(label);
            m_cancel->setEnabled(true);
            m_cancel->setVisible(cancellable);
        },
        Qt::QueuedConnection);
}

QString ProgressDialog::text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

int ProgressDialog::barWidth() const {
    std::lock_guard lock(m_mutex);
    return m_barWidth;
}

QImage ProgressDialog::picture() const {
    std::lock_guard lock(m_mutex);
    return m_picture;
}

// The callers never pass a maximum of 0 or a position outside 0 to the
// maximum; if one does, the bar and the figure stay within 0 to 100 %.
void ProgressDialog::compose(const QString& format, int maximum, int position) {
    double fraction =
        maximum > 0 ? std::clamp(static_cast<double>(position) / maximum, 0.0, 1.0) : 0.0;
    QString text = ProgressText::format(format, fraction * 100.0);
    int bar = static_cast<int>(fraction * kBarSpan + kBarStart);

    QImage picture = art(SkinId::ProgressEmpty, m_ratio).convertToFormat(QImage::Format_RGB32);
    QImage full = art(SkinId::ProgressFull, m_ratio);
    {
        QPainter p(&picture);
        p.drawImage(QRectF(0, 0, bar, kHeight), full,
                    QRectF(0, 0, bar * m_ratio, kHeight * m_ratio));
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(m_font);
        p.setPen(QColor(255, 0, 0));
        p.drawText(kTextRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    std::lock_guard lock(m_mutex);
    m_picture = picture;
    m_text = text;
    m_barWidth = bar;
}

// Centred over the owner's top-level window.
void ProgressDialog::recentre() {
    QWidget* root = m_owner ? m_owner->window() : nullptr;
    if (!root) return;
    QRect r = root->frameGeometry();
    int left = (r.left() + r.left() + r.width() - kWidth) / 2;
    int top = (r.top() + r.top() + r.height() - kHeight) / 2;
    move(left, top);
}

void ProgressDialog::paintEvent(QPaintEvent*) {
    QImage picture = this->picture();
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), picture);
}

void ProgressDialog::resizeEvent(QResizeEvent*) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 5, 5);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

void ProgressDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Mouse::startWindowMove(this, event->globalPosition().toPoint());
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    recentre();
    setFormat(QString());
    compose(QString(), 1, 0);
    update();
    event->accept();
}
