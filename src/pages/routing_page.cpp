#include "pages/routing_page.h"

#include <QDir>
#include <QPainter>
#include <ctime>

#include "binding/parameter_binding.h"
#include "binding/route_export.h"
#include "files/settings.h"
#include "link/link_event.h"
#include "link/mirror.h"
#include "pages/file_chooser.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/message_box.h"
#include "resources/skin_ids.h"
#include "resources/skin_image.h"
#include "resources/skin_layout.h"
#include "texts/language.h"
#include "texts/routing_texts.h"

namespace {

// Buttons are made at the size of their strip's frames, which tells them how
// many frames the strip holds, and then placed.
// Design units: a heading band on top and a column of row headings on the
// left, the 8 x 8 grid of 108 x 55 cells, and a bar below it with the title,
// the layout selector and the export button.
constexpr double kCellWidth = 108;
constexpr double kCellHeight = 55;
constexpr double kGridLeft = 108;
constexpr double kGridTop = 45;
constexpr double kBarTop = kGridTop + 8 * kCellHeight;
const QRectF kFace(2, 3, 104, 48);
const QRectF kButton(8, 8, 36, 17);
const QRectF kEdit(50, 7, 50, 19);
const QRectF kSlider(6, 29, 96, 21);
const QRectF kTitle(12, kBarTop + 12, 560, 30);
const QRectF kSelector(600, kBarTop + 17, 169, 19);
constexpr double kSelectorListHeight = 130;
const QRectF kExport(800, kBarTop + 15, 150, 24);

const QColor kCellArea(73, 72, 72);
const QString kFace_ = QString::fromUtf8("微软雅黑");
constexpr QRgb kHeadingColour = 0xC8E6E6E6;
constexpr QRgb kTextOn = 0xC8FAFAFA;
constexpr QRgb kButtonText = 0xC8B4BAC3;
constexpr QRgb kButtonTextOn = 0xFF0B1E2A;
constexpr QRgb kTextOff = 0xC8000000;
constexpr unsigned kCentred = 0x25;
constexpr unsigned kLeftCentred = 0x24;
constexpr QRgb kEditFace = 0xFF2D3138;
constexpr QRgb kEditFocused = 0xFF127FBF;
constexpr QRgb kEditText = 0xFFE6E9ED;
constexpr int kPollMs = RoutePoller::kTickMs;

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

RoutingPage::RoutingPage(ParameterBinding& binding, Mirror& mirror, QWidget* parent)
    : QDialog(parent), m_binding(binding), m_mirror(mirror) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    createControls();
    resize(kDesignWidth, kDesignHeight);
    // Centred on the owner.
    if (parent) move(parent->geometry().center() - rect().center());
    for (int cell = 0; cell < RouteMatrix::kCells; ++cell)
        showCell(cell, m_mirror.value(RouteMatrix::cellIndex(cell)));
    int item = RouteMatrix::layoutOfMask(m_mirror.value(RouteMatrix::kDecodedLayout));
    if (item >= 0)
        m_selector.setSelection(item);
    else
        m_selector.clearSelection();
    updateTitle();
    m_refresh.start(kPollMs);
}

void RoutingPage::createControls() {
    for (int cell = 0; cell < RouteMatrix::kCells; ++cell) {
        SkinButton& b = cellButton(cell);
        b.setParent(this);
        b.create(QRect(QPoint(), SkinLayout::kDarkButtonFrame));
        b.setImage(&m_skin, SkinId::DarkButton);
        connect(&b, &SkinButton::clicked, this, [this, cell] { cellSwitched(cell); });
        setSwitch(b, false);
        ValueEdit& e = cellEdit(cell);
        e.setParent(this);
        e.create(QRect());
        connect(&e, &ValueEdit::valueChanged, this, [this, cell] { cellEdited(cell); });
        e.setRange(0, RouteMatrix::kMaxLevel);
        e.setFormat(QStringLiteral("%0.0f"));
        e.setColours(kEditFace, kEditFocused);
        e.setTextColour(kEditText);
        IntegerSlider& s = cellSlider(cell);
        s.setParent(this);
        s.create(QRect());
        connect(&s, &IntegerSlider::valueChanged, this, [this, cell] { cellSlid(cell); });
        s.setRange(0, RouteMatrix::kMaxLevel);
        s.setSetValueScale(1);
    }
    for (int i = 0; i < 2 * RouteMatrix::kSize; ++i) {
        SkinLabel& l = m_headings[static_cast<size_t>(i)];
        l.setParent(this);
        l.create(QRect());
        int k = i % RouteMatrix::kSize;
        l.setText(QString::fromUtf8(i < RouteMatrix::kSize ? RouteMatrix::columnHeading(k)
                                                           : RouteMatrix::rowHeading(k)));
    }
    m_titleLabel.setParent(this);
    m_titleLabel.create(QRect());
    m_selector.setParent(this);
    m_selector.create(QRect());
    connect(&m_selector, &SkinComboBox::selectionChosen, this, &RoutingPage::layoutSelected);
    for (int item = 0; item < RouteMatrix::kLayouts; ++item)
        m_selector.addItem(QString::fromUtf8(RouteMatrix::layoutItem(item)));
    m_export.setParent(this);
    m_export.create(QRect(QPoint(), SkinLayout::kWideButtonFrame));
    m_export.setImage(&m_skin, SkinId::WideButton);
    connect(&m_export, &SkinButton::clicked, this, &RoutingPage::exportMatrix);
    connect(&m_refresh, &QTimer::timeout, this, [this] { m_poller.tick(m_mirror); });
    m_export.setText(QString::fromUtf8(routingtext::ExportButton.get()));
}

// --- layout and drawing ---

void RoutingPage::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layout();
}

QRect RoutingPage::scaled(double x, double y, double w, double h) const {
    return QRect(int(x * m_sx), int(y * m_sy), int(w * m_sx), int(h * m_sy));
}

void RoutingPage::layout() {
    m_sx = width() / double(kDesignWidth);
    m_sy = height() / double(kDesignHeight);
    paintSkin();
    placeControls(m_sx, m_sy);
    update();
}

void RoutingPage::paintSkin() {
    m_skin.release();
    m_skin.recreate(0, 0, std::max(width(), 1), std::max(height(), 1));
    QImage* image = m_skin.dc();
    if (!image) return;
    QPainter p(image);
    p.fillRect(image->rect(), kCellArea);
    SkinImage face = SkinImage::load(SkinId::RouteCell);
    SkinImage narrow = SkinImage::load(SkinId::RouteCellNarrow);
    for (int row = 0; row < RouteMatrix::kSize; ++row) {
        double y = kGridTop + row * kCellHeight;
        // A grip beside each row heading.
        narrow.draw(p, QRectF(scaled(kGridLeft - 26, y + kFace.top(), 22, kFace.height())));
        for (int column = 0; column < RouteMatrix::kSize; ++column) {
            double x = kGridLeft + column * kCellWidth;
            face.draw(p, QRectF(scaled(x + kFace.left(), y + kFace.top(), kFace.width(),
                                       kFace.height())));
        }
    }
}

void RoutingPage::placeControls(double sx, double sy) {
    double s = std::min(sx, sy);
    for (int cell = 0; cell < RouteMatrix::kCells; ++cell) {
        double x = kGridLeft + (cell % RouteMatrix::kSize) * kCellWidth;
        double y = kGridTop + (cell / RouteMatrix::kSize) * kCellHeight;
        auto at = [&](const QRectF& r) {
            return scaled(x + r.left(), y + r.top(), r.width(), r.height());
        };
        SkinButton& b = cellButton(cell);
        b.setGeometry(at(kButton));
        b.setTextStyle(11 * s, kFace_, kButtonText, kCentred, kButtonTextOn);
        ValueEdit& e = cellEdit(cell);
        e.setGeometry(at(kEdit));
        e.setTextFont(int(14 * s), QStringLiteral("Arial"));
        IntegerSlider& sl = cellSlider(cell);
        sl.setGeometry(at(kSlider));
        sl.setSkin(&m_skin);
    }
    for (int i = 0; i < 2 * RouteMatrix::kSize; ++i) {
        int k = i % RouteMatrix::kSize;
        QRect r = i < RouteMatrix::kSize
                      ? scaled(kGridLeft + k * kCellWidth, 0, kCellWidth, kGridTop)
                      : scaled(4, kGridTop + k * kCellHeight, kGridLeft - 34, kCellHeight);
        SkinLabel& l = m_headings[static_cast<size_t>(i)];
        l.setGeometry(r);
        l.setBackground(&m_skin);
        l.setTextStyle(14 * s, kFace_, kHeadingColour, i < RouteMatrix::kSize ? kCentred : 0x26);
    }
    m_titleLabel.setGeometry(scaled(kTitle.left(), kTitle.top(), kTitle.width(), kTitle.height()));
    m_titleLabel.setBackground(&m_skin);
    m_titleLabel.setTextStyle(14 * s, kFace_, kHeadingColour, kLeftCentred);
    m_selector.place(
        scaled(kSelector.left(), kSelector.top(), kSelector.width(), kSelectorListHeight));
    m_selector.setSkin(&m_skin, SkinComboBox::Style::Page);
    m_selector.setFontHeight(14);
    m_export.setGeometry(scaled(kExport.left(), kExport.top(), kExport.width(), kExport.height()));
    m_export.setTextStyle(13 * s, kFace_, kTextOff, kCentred, kTextOn);
}

void RoutingPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_skin.isEmpty()) p.drawImage(QPoint(0, 0), m_skin.image());
}

// --- cells ---

// A device value is shown clamped and never written back from here.
void RoutingPage::showCell(int cell, uint16_t value) {
    int level = RouteMatrix::level(value);
    bool on = RouteMatrix::on(value);
    if ((cellButton(cell).checkType() == 2) != on) setSwitch(cellButton(cell), on);
    if (cellEdit(cell).value() != level) cellEdit(cell).setValue(level);
    if (cellSlider(cell).value() != level) cellSlider(cell).setScaledValue(level);
}

void RoutingPage::setSwitch(SkinButton& button, bool on) {
    button.setCheckType(on ? 2 : 1);
    button.setText(on ? QStringLiteral("ON") : QStringLiteral("OFF"));
}

void RoutingPage::writeCell(int cell) {
    if (cell < 0 || cell >= RouteMatrix::kCells) return;
    bool on = cellButton(cell).checkType() == 2;
    m_binding.writeParameter(RouteMatrix::cellIndex(cell),
                             RouteMatrix::cellValue(cellEdit(cell).value(), on));
}

void RoutingPage::layoutSelected() {
    int mask = RouteMatrix::layoutMask(m_selector.selection());
    if (mask < 0) return;
    m_binding.writeParameter(RouteMatrix::kDecodedLayout, static_cast<uint16_t>(mask));
    QTimer::singleShot(
        0, this, [this] { linkEvent(LinkEvent::ParameterReceived, RouteMatrix::kDecoderMode); });
}

void RoutingPage::cellEdited(int cell) {
    cellSlider(cell).setScaledValue(cellEdit(cell).value());
    writeCell(cell);
}

void RoutingPage::cellSwitched(int cell) {
    setSwitch(cellButton(cell), cellButton(cell).checkType() == 2);
    writeCell(cell);
}

void RoutingPage::cellSlid(int cell) {
    cellEdit(cell).setValue(cellSlider(cell).value());
    writeCell(cell);
}

// What the page does not show goes on to the owner, so that its header and
// status stay current while the page is open.
void RoutingPage::linkEvent(int code, int argument) {
    bool cells = code == LinkEvent::ParameterReceived && RouteMatrix::cellOf(argument) >= 0;
    if (code == LinkEvent::ParameterReceived) parameterReceived(argument);
    if (cells) return;
    if (m_passOn) m_passOn(code, argument);
}

void RoutingPage::parameterReceived(int index) {
    // Index 0 follows a full read: everything may have changed.
    if (index == 0) {
        for (int cell = 0; cell < RouteMatrix::kCells; ++cell)
            showCell(cell, m_mirror.value(RouteMatrix::cellIndex(cell)));
        updateTitle();
        return;
    }
    int cell = RouteMatrix::cellOf(index);
    if (cell >= 0) {
        showCell(cell, m_mirror.value(index));
    } else if (index == RouteMatrix::kDecoderMode || index == RouteMatrix::kOutputSelection ||
               index == RouteMatrix::kDecodedLayout) {
        updateTitle();
    }
}

void RoutingPage::updateTitle() {
    QString title = fromUtf8(RouteMatrix::title(m_mirror));
    setWindowTitle(title);
    m_titleLabel.setText(title);
}

void RoutingPage::done(int result) {
    m_refresh.stop();
    QDialog::done(result);
}

// --- export ---

void RoutingPage::exportMatrix() {
    RouteExport::Cells cells{};
    for (int cell = 0; cell < RouteMatrix::kCells; ++cell)
        cells[static_cast<size_t>(cell)] = m_mirror.value(RouteMatrix::cellIndex(cell));
    int item = m_selector.selection();
    int selection = m_mirror.value(RouteMatrix::kOutputSelection);
    std::time_t t = std::time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    std::string name = RouteExport::name(item, selection);
    // Offered in the settings folder's route data folder until the user picks another.
    QString folder = QDir(m_exportFolder).filePath(QString::fromLatin1(RouteExport::kFolder));
    QDir().mkpath(folder);
    FileChooser::Request request{QString::fromUtf8(routingtext::ExportTitle.get()),
                                 fromUtf8(name) + QStringLiteral(".c"), QStringLiteral("C (*.c)"),
                                 true};
    QString chosen = FileChooser::choose(this, request, folder);
    if (chosen.isEmpty()) return;
    std::string path = chosen.toStdString();
    bool written = RouteExport::writeTo(path, RouteExport::fileText(item, selection, cells, now));
    Clipboard::setText(fromUtf8(RouteExport::clipboardText(item, selection, cells, now)));
    std::string text =
        formatText(written ? routingtext::ExportDone : routingtext::ExportFailed, path.c_str());
    QString caption = parentWidget() ? parentWidget()->window()->windowTitle() : windowTitle();
    MessageBox::show(this, {fromUtf8(text), caption, Language::index(), MessageBox::Buttons::Ok});
}
