#include "controls/response_graph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

#include "controls/graph_display_list.h"
#include "controls/response_graph_sprites.h"
#include "platform/qt/font_faces.h"
#include "platform/qt/mouse.h"
#include "texts/graph_texts.h"

namespace {

constexpr QRgb kPlotFill = 0xFF152030;
constexpr QRgb kCurveColour = 0xC8FF00FF;
constexpr QRgb kGridColour = 0xFF3C3C3C;
constexpr QRgb kGridTextColour = 0xF0F0F0F0;
constexpr QRgb kSelectionEdge = 0x19FFFFFF;
constexpr QRgb kSelectionFill = 0x32FFFFFF;
constexpr QRgb kMenuHighlight = 0xFFFFFF32;
constexpr int kCell = ResponseGraphSprites::kCell;
constexpr int kMenuPadding = 18;  // room for the check box left of the text
constexpr int kCheckSide = 8;

struct GridRow {
    double frequency;
    const char* label;  // null: the line only
};

constexpr GridRow kGridRows[] = {
    {19, "20"},      {30, nullptr},  {40, nullptr},     {50, "50"},      {60, nullptr},
    {70, nullptr},   {80, nullptr},  {90, nullptr},     {100, "100"},    {200, "200"},
    {300, nullptr},  {400, nullptr}, {500, "500"},      {600, nullptr},  {700, nullptr},
    {800, nullptr},  {900, nullptr}, {1000, "1K"},      {2000, "2K"},    {3000, nullptr},
    {4000, nullptr}, {5000, "5K"},   {6000, nullptr},   {7000, nullptr}, {8000, nullptr},
    {9000, nullptr}, {10000, "10K"}, {20600, "20KHz "},
};

struct LevelLine {
    int line;  // of the six divisions
    int tenths;
};

constexpr LevelLine kLevelLabels[] = {{0, 120}, {2, 0}, {4, -120}, {6, -240}};

// Copies a picture of the same size and format row by row.
void copyPixels(QImage& to, const QImage& from) {
    if (to.size() != from.size() || to.format() != from.format()) {
        QPainter p(&to);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, from);
        return;
    }
    size_t row = size_t(std::min(to.bytesPerLine(), from.bytesPerLine()));
    for (int y = 0; y < to.height(); ++y) std::memcpy(to.scanLine(y), from.constScanLine(y), row);
}

QPolygonF polygon(const std::vector<GraphPoint>& points) {
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const GraphPoint& pt : points) poly << QPointF(pt.x, pt.y);
    return poly;
}

// A closed cardinal spline through the points, as cubic Bezier segments.
QPainterPath closedCardinal(const QPolygonF& pts, double tension) {
    QPainterPath path;
    qsizetype n = pts.size();
    if (n < 3) {
        path.addPolygon(pts);
        path.closeSubpath();
        return path;
    }
    auto at = [&](qsizetype i) { return pts[(i % n + n) % n]; };
    path.moveTo(pts[0]);
    for (qsizetype i = 0; i < n; ++i) {
        QPointF c1 = at(i) + (at(i + 1) - at(i - 1)) * (tension / 3);
        QPointF c2 = at(i + 1) - (at(i + 2) - at(i)) * (tension / 3);
        path.cubicTo(c1, c2, at(i + 1));
    }
    path.closeSubpath();
    path.setFillRule(Qt::WindingFill);
    return path;
}

QFont labelFont(double scale) {
    return FontFaces::pixelFont(QStringLiteral("Arial Bold"), std::max(1.0, 12 * scale), true);
}

QString copyPasteText(int k) {
    return QString::fromUtf8((k == 0 ? graphtext::Copy : graphtext::Paste).get());
}

}  // namespace

ResponseGraph::ResponseGraph(QWidget* parent) : SkinControl(parent), m_model(this) {
    connect(&m_animation, &QTimer::timeout, this, [this] {
        m_model.animationTick();
        if (pulseShown()) {
            m_dirty = true;
            update(pulseRect());
        }
    });
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

ResponseGraph::~ResponseGraph() = default;

void ResponseGraph::setScale(double scale) {
    bool changed = scale != m_model.scale();
    m_model.setScale(scale);
    if (changed && m_initialised) {
        m_model.layout(width(), height());
        releaseSurfaces();
    }
    updateMenuWidth();
    m_dirty = true;
    update();
}

void ResponseGraph::setBackgroundImage(const QImage& image) {
    m_background = image;
    if (m_initialised) drawGrid();
    update();
}

void ResponseGraph::initialise(int bands) {
    m_model.initialise(bands, width(), height());
    m_initialised = true;
    releaseSurfaces();
    update();
}

// The pictures are made at the next paint: a graph on a page that is not
// shown holds none.
void ResponseGraph::releaseSurfaces() {
    m_dirty = true;
    m_wholeStale = true;
    surface().composed().release();
    m_grid = QImage();
    m_scratch = QImage();
    m_markers = QImage();
    m_handles = QImage();
    m_banner = QImage();
    m_shown = GraphDisplayList();
}

void ResponseGraph::rebuildSurfaces() {
    m_dirty = true;
    DrawingSurface& back = surface().composed();
    back.release();
    m_grid = QImage();
    if (width() <= 0 || height() <= 0) return;
    // Everything at the screen's pixel ratio, so that the graph is sharp on HiDPI screens.
    qreal ratio = devicePixelRatioF();
    // Sprites drawn larger with the window get as many more pixels, to stay sharp.
    qreal grown = ratio * m_model.markerScale();
    m_markers = ResponseGraphSprites::markers(m_model.slotCount(), grown);
    m_handles = ResponseGraphSprites::qHandles(grown);
    m_banner = ResponseGraphSprites::banner(ratio);
    back.setPixelRatio(ratio);
    back.recreate(0, 0, width(), height());
    m_grid = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_grid.setDevicePixelRatio(ratio);
    drawGrid();
}

void ResponseGraph::drawGrid() {
    if (m_grid.isNull()) return;
    m_wholeStale = true;
    m_dirty = true;
    QPainter p(&m_grid);
    QRect client(QPoint(0, 0), size());
    if (m_background.isNull()) {
        p.fillRect(client, QColor::fromRgba(kPlotFill));
    } else {
        p.drawImage(QRectF(client), m_background);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(0.5, 0.5);
    GraphRect plot = m_model.plot();
    if (plot.width() <= 0 || plot.height() <= 0) return;
    p.setPen(QPen(QColor::fromRgba(kGridColour), 1));
    auto lineY = [&](int k) { return k == 6 ? plot.bottom : plot.top + k * plot.height() / 6; };
    for (int k = 0; k <= 6; ++k) p.drawLine(plot.left, lineY(k), plot.right, lineY(k));
    for (const GridRow& row : kGridRows) {
        int x = plot.left + m_model.markerXOf(row.frequency);
        p.drawLine(x, plot.top, x, plot.bottom);
    }
    // The axis labels grow with the window, as the skin's texts do.
    QFont font = FontFaces::pixelFont(QStringLiteral("Times New Roman"),
                                      std::max(1.0, 12 * m_model.scale()));
    p.setFont(font);
    p.setPen(QColor::fromRgba(kGridTextColour));
    QFontMetrics metrics(font);
    for (const LevelLine& level : kLevelLabels) {
        double dB = level.tenths / 10.0;
        QString text = dB > 0 ? QString::asprintf("+%.0f", dB) : QString::asprintf("%.0f", dB);
        QRect box(0, lineY(level.line) - metrics.height() / 2, plot.left - 5, metrics.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
    }
    for (const GridRow& row : kGridRows) {
        if (!row.label) continue;
        QString text = QString::fromLatin1(row.label);
        int x = plot.left + m_model.markerXOf(row.frequency);
        int w = metrics.horizontalAdvance(text);
        p.drawText(QRect(x - w / 2, plot.bottom + 2, w, metrics.height()), Qt::AlignCenter, text);
    }
}

const QImage& ResponseGraph::renderPicture() {
    const DrawingSurface& back = surface().composed();
    bool stale = m_grid.isNull() || QSize(back.width(), back.height()) != size() ||
                 back.image().devicePixelRatio() != devicePixelRatioF();
    if (m_initialised && stale) rebuildSurfaces();
    if (m_initialised && m_dirty && !m_grid.isNull()) {
        compose();
        m_dirty = false;
    }
    return surface().composed().image();
}

void ResponseGraph::compose() {
    QImage* back = surface().composed().dc();
    if (!back) return;
    m_model.updateCurves();
    GraphDisplayList next;
    record(next);
    GraphDisplayList::Tiles tiles(back->size(), back->devicePixelRatio());
    if (m_wholeStale || back->size() != m_grid.size() || back->format() != m_grid.format() ||
        back->depth() != 32) {
        copyPixels(*back, m_grid);
        tiles.markAll();
        m_wholeStale = false;
        replay(next, *back, tiles);
    } else {
        next.markDifferences(m_shown, tiles);
        // Drawn over the grid on the side, then only the changed tiles taken over.
        if (m_scratch.size() != back->size() || m_scratch.format() != back->format())
            m_scratch = QImage(back->size(), back->format());
        m_scratch.setDevicePixelRatio(back->devicePixelRatio());
        tiles.copy(m_scratch, m_grid);
        replay(next, m_scratch, tiles);
        tiles.copy(*back, m_scratch);
    }
    m_shown = std::move(next);
}

void ResponseGraph::replay(const GraphDisplayList& list, QImage& onto,
                           const GraphDisplayList::Tiles& tiles) const {
    if (!tiles.any()) return;
    QPainter p(&onto);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    list.replay(p, tiles);
}

void ResponseGraph::record(GraphDisplayList& list) const {
    GraphRect plot = m_model.plot();
    if (plot.width() > 0 && plot.height() > 0) {
        list.setClip(QRect(plot.left, plot.top, plot.width(), plot.height()));
        if (m_model.options().showSelection) recordSelection(list);
        if (m_companionsShown) recordCompanions(list);
        list.lines(GraphDisplayList::steadyPoints(m_model.reducedPoints(m_model.total())),
                   QColor::fromRgba(kCurveColour), 2);
        list.setClip(QRect());
    }
    if (!m_model.eqEnabled()) {
        list.sprite(m_banner, QPoint(plot.width() / 2 - 64, plot.bottom - 70),
                    QRect(0, 0, 448, 64));
    }
    if (m_model.options().showSelection) recordMarkers(list);
    if (m_exporting) return;
    recordLabel(list);
    recordMenu(list);
}

void ResponseGraph::recordSelection(GraphDisplayList& list) const {
    std::vector<GraphPoint> points = GraphDisplayList::steadyPoints(m_model.selectionOutline());
    if (points.empty()) return;
    list.lines(points, QColor::fromRgba(kSelectionEdge), 2);
    list.fillPath(closedCardinal(polygon(points), 0.5), QColor::fromRgba(kSelectionFill));
}

void ResponseGraph::recordMarkers(GraphDisplayList& list) const {
    int selected = m_model.selectedSlot();
    const qreal grown = m_model.markerScale();
    if (!m_exporting && selected >= ResponseGraphModel::kFirstBand &&
        selected < m_model.slotCount() && m_model.options().showQHandles &&
        m_model.slot(selected).enabled && m_model.slot(selected).hasQHandles) {
        GraphRect left = m_model.handleSquare(false), right = m_model.handleSquare(true);
        list.sprite(m_handles, QPoint(left.left, left.top),
                    QRect(0, m_model.leftHandleDragged() ? kCell : 0, kCell, kCell), grown);
        list.sprite(m_handles, QPoint(right.left, right.top),
                    QRect(kCell, m_model.rightHandleDragged() ? kCell : 0, kCell, kCell), grown);
    }
    for (int k = 0; k < m_model.slotCount(); ++k) {
        if (!m_model.slot(k).enabled) continue;
        GraphPoint at = m_model.markerCorner(k);
        int cell = k == selected ? m_model.animationFrame() : 0;
        list.sprite(m_markers, QPoint(at.x, at.y), QRect(cell * kCell, k * kCell, kCell, kCell),
                    grown);
    }
}

void ResponseGraph::recordLabel(GraphDisplayList& list) const {
    QString text = QString::fromStdString(m_model.labelText());
    if (text.isEmpty()) return;
    QFont font = labelFont(m_model.scale());
    QFontMetrics metrics(font);
    GraphRect box = m_model.labelBox(metrics.horizontalAdvance(text), metrics.height());
    list.text(QRect(box.left, box.top, box.width(), box.height()), font, Qt::white, text);
}

void ResponseGraph::recordMenu(GraphDisplayList& list) const {
    if (!m_model.options().contextMenu ||
        m_model.menuState() == ResponseGraphModel::MenuState::Hidden) {
        return;
    }
    QFont font = labelFont(m_model.scale());
    bool extras = !m_menuExtras.empty();
    for (int k = 0; k < m_model.menuItemCount(); ++k) {
        GraphRect r = m_model.menuItem(k);
        QRect rect(r.left, r.top, r.width(), r.height());
        bool lit = m_model.highlightedItem() == k;
        list.fillRect(rect, lit ? QColor::fromRgba(kMenuHighlight) : QColor(Qt::white));
        if (!extras) {
            list.text(rect, font, Qt::black, copyPasteText(k));
            continue;
        }
        int j = m_model.extraOf(k);
        const MenuExtra* extra = j >= 0 ? &m_menuExtras[size_t(j)] : nullptr;
        QString text = extra ? extra->text : copyPasteText(k);
        if (extra && extra->checked) {
            QRect box(rect.left() + (kMenuPadding - kCheckSide) / 2,
                      rect.center().y() - kCheckSide / 2, kCheckSide, kCheckSide);
            list.box(box, Qt::black, *extra->checked);
        }
        list.text(rect.adjusted(kMenuPadding, 0, -4, 0), font, Qt::black, text,
                  Qt::AlignLeft | Qt::AlignVCenter);
    }
}

// Faint, thin and dashed, each in its colour and named in its colour at the
// plot's top right, so that the page's own curve stays the one that reads.
void ResponseGraph::recordCompanions(GraphDisplayList& list) const {
    GraphRect plot = m_model.plot();
    QFont font = FontFaces::pixelFont(QStringLiteral("Arial"), std::max(1.0, 11 * m_model.scale()));
    QFontMetrics metrics(font);
    int line = 0;
    for (const Companion& c : m_companions) {
        if (!c.graph || c.graph == this || !c.graph->m_initialised) continue;
        ResponseGraphModel& other = c.graph->m_model;
        if (!(other.plot() == plot) || other.columns() != m_model.columns()) continue;
        other.updateCurves();
        QColor colour = QColor::fromRgba(c.colour);
        list.lines(GraphDisplayList::steadyPoints(m_model.reducedPoints(other.total())), colour, 1,
                   Qt::DashLine);
        QRect box(plot.left, plot.top + 4 + line * metrics.height(), plot.width() - 6,
                  metrics.height());
        list.text(box, font, colour, c.name, Qt::AlignRight | Qt::AlignVCenter);
        ++line;
    }
}

void ResponseGraph::setMenuExtras(std::vector<MenuExtra> extras, bool copyPaste) {
    m_menuExtras = std::move(extras);
    m_copyPaste = copyPaste;
    updateMenuWidth();
}

void ResponseGraph::updateMenuWidth() {
    if (m_menuExtras.empty()) {
        m_model.setMenuExtras(0, 0);
        return;
    }
    QFontMetrics metrics(labelFont(m_model.scale()));
    int width = 0;
    for (int k : {0, 1}) width = std::max(width, metrics.horizontalAdvance(copyPasteText(k)));
    for (const MenuExtra& e : m_menuExtras)
        width = std::max(width, metrics.horizontalAdvance(e.text));
    m_model.setMenuExtras(int(m_menuExtras.size()), width + kMenuPadding + 8, m_copyPaste);
    invalidate();
}

void ResponseGraph::setCompanionsShown(bool shown) {
    m_companionsShown = shown;
    invalidate();
}

bool ResponseGraph::savePicture(const QString& path, const QString& name) {
    renderPicture();
    if (m_grid.isNull()) return false;
    QImage picture = m_grid.copy();
    GraphDisplayList list;
    m_exporting = true;
    record(list);
    m_exporting = false;
    if (!name.isEmpty()) {
        GraphRect plot = m_model.plot();
        QFont font = labelFont(m_model.scale());
        int height = QFontMetrics(font).height();
        list.text(QRect(plot.left + 6, plot.top + 4, plot.width() - 12, height), font, Qt::white,
                  name, Qt::AlignLeft | Qt::AlignVCenter);
    }
    GraphDisplayList::Tiles tiles(picture.size(), picture.devicePixelRatio());
    tiles.markAll();
    replay(list, picture, tiles);
    return picture.save(path, "PNG");
}

void ResponseGraph::setAnimation(int mode) {
    bool run = m_model.show(mode);
    if (run) {
        m_animation.start(kAnimationMs);
    } else {
        m_animation.stop();
    }
    m_dirty = true;
    update();
}

// Only the selected marker pulses: with none, a tick changes nothing on screen.
bool ResponseGraph::pulseShown() const {
    int k = m_model.selectedSlot();
    return m_model.options().showSelection && k >= 0 && k < m_model.slotCount() &&
           m_model.slot(k).enabled;
}

// Only the selected marker's cell changes with a tick: the screen takes that alone.
QRect ResponseGraph::pulseRect() const {
    GraphPoint at = m_model.markerCorner(m_model.selectedSlot());
    int side = int(std::ceil(kCell * m_model.markerScale()));
    return QRect(at.x, at.y, side, side).adjusted(-2, -2, 2, 2);
}

void ResponseGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage& picture = renderPicture();
    if (!m_initialised || picture.isNull()) {
        p.fillRect(rect(), QColor::fromRgba(kPlotFill));
        return;
    }
    p.drawImage(QPoint(0, 0), picture);
}

void ResponseGraph::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_model.layout(width(), height());
    if (m_initialised) releaseSurfaces();
}

void ResponseGraph::hideEvent(QHideEvent* event) {
    SkinControl::hideEvent(event);
    releaseSurfaces();
}

void ResponseGraph::mousePressEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) m_model.mouseDown(at.x(), at.y());
}

void ResponseGraph::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ResponseGraph::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    m_model.mouseMove(at.x(), at.y());
}

void ResponseGraph::mouseReleaseEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_model.mouseUp(at.x(), at.y());
    } else if (event->button() == Qt::RightButton) {
        m_model.rightButtonUp(at.x(), at.y());
    }
}

void ResponseGraph::wheelEvent(QWheelEvent* event) {
    // Whole notches, however finely the device reports them.
    m_wheelRest += event->angleDelta().y();
    int steps = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRest -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) m_model.wheel(steps);
    event->accept();
}

// An Escape while the menu shows closes the menu, before the window's own
// Escape sees it.
bool ResponseGraph::event(QEvent* event) {
    bool menuEscape =
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        m_model.menuState() != ResponseGraphModel::MenuState::Hidden;
    if (!menuEscape) return QWidget::event(event);
    if (event->type() == QEvent::KeyPress) m_model.closeMenu();
    event->accept();
    return true;
}

void ResponseGraph::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        // A graph that only shows takes the focus on a click, but no steps.
        if (m_model.options().interactive) m_model.arrowKey(event->key() == Qt::Key_Up);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ResponseGraph::notify(int code, int band) {
    emit edited(code, band);
}

void ResponseGraph::invalidate() {
    m_dirty = true;
    update();
}

void ResponseGraph::setCapture(bool on) {
    if (on) {
        Mouse::capture(this);
    } else if (Mouse::captured() == this) {
        Mouse::release();
    }
}

void ResponseGraph::setHandCursor(bool hand) {
    Mouse::setCursor(this, hand ? Mouse::Cursor::Hand : Mouse::Cursor::Arrow);
}

void ResponseGraph::takeFocus() {
    setFocus(Qt::MouseFocusReason);
}
