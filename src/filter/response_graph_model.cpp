#include "filter/response_graph_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "filter/band_value_text.h"
#include "filter/filter_cascade.h"
#include "filter/frequency_table.h"
#include "filter/q_table.h"

namespace {

constexpr double kStart = 19;
constexpr double kEnd = 20600;
constexpr int kDbTop = 120;  // tenths of a dB at the plot's top and bottom edges
constexpr int kDbBottom = -240;
constexpr int kDbSpan = kDbTop - kDbBottom;
constexpr int kPlotLeft = 30, kPlotTop = 10, kPlotRight = 18, kPlotBottom = 18;
constexpr int kCrossoverHeight = 80;
constexpr double kPixelLimit = 1e6;  // what an infinite level draws as
constexpr int kMenuWidth = 50, kMenuItemHeight = 20, kMenuMargin = 5;
constexpr double kHandleStep = 1.01;
constexpr double kHandleSpread = 0.9900990099009901;

int truncated(double x) {
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::clamp(x, -kPixelLimit, kPixelLimit));
}

bool within(int x, int y, int cx, int cy, int half) {
    return std::abs(x - cx) <= half && std::abs(y - cy) <= half;
}

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

}  // namespace

void ResponseGraphModel::setScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0) return;
    m_scale = scale;
    m_crossoverHeight = static_cast<int>(std::trunc(scale * kCrossoverHeight));
}

void ResponseGraphModel::setGeometry(int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    // The margins hold the axis labels, which grow with the window.
    m_plot = {grown(kPlotLeft), grown(kPlotTop), m_width - grown(kPlotRight),
              m_height - grown(kPlotBottom)};
    m_decades = std::log10(kEnd / kStart);
    m_count = std::max(m_plot.width(), 0);
    updateColumns();
}

void ResponseGraphModel::updateColumns() {
    size_t n = static_cast<size_t>(m_count);
    m_points.resize(n);
    for (size_t i = 0; i < n; ++i) m_points[i] = EvaluationPoint::at(frequencyOfX(double(i)));
    for (GraphMarker& s : m_slots) s.curve.assign(n, 0.0);
    m_total.assign(n, 0);
    m_selectedCurve.assign(n, 0);
}

void ResponseGraphModel::initialise(int bands, int width, int height) {
    bands = std::max(bands, 0);
    m_slots.assign(static_cast<size_t>(bands + kFirstBand), GraphMarker{});
    setGeometry(width, height);
    int spacing = m_width / (bands + 4);
    for (int i = 0; i < slotCount(); ++i) {
        GraphMarker& s = at(i);
        s.markerX = spacing * i + 50;
        s.frequency = snap(frequencyOfX(s.markerX));
    }
    for (int i : {kHighPass, kLowPass}) at(i).markerY = m_crossoverHeight;
    at(kHighPass).frequency = kStart;
    at(kLowPass).frequency = kEnd;
    m_selected = std::min(m_selected, slotCount() - 1);
    m_labelled = std::min(m_labelled, slotCount() - 1);
}

void ResponseGraphModel::layout(int width, int height) {
    m_recomputeAll = true;
    setGeometry(width, height);
    // Band markers are placed from the stored values rather than scaled, so
    // that passing through a tiny size loses nothing.
    for (int k = kFirstBand; k < slotCount(); ++k) at(k).markerY = bandMarkerY(at(k).gain);
    if (slotCount() > 1) {
        for (GraphMarker& s : m_slots) s.markerX = markerXOf(s.frequency);
    }
    m_crossoverHeight = static_cast<int>(std::trunc(m_scale * kCrossoverHeight));
    for (int k = 0; k < std::min(slotCount(), kFirstBand); ++k) at(k).markerY = m_crossoverHeight;
    if (m_host) m_host->invalidate();
}

int ResponseGraphModel::zeroLine() const {
    return m_plot.top + std::abs(kDbTop) * std::max(m_plot.height(), 0) / kDbSpan;
}

int ResponseGraphModel::markerXOf(double f) const {
    // Below the axis (a band at the grid's bottom) sits on its left edge.
    if (!(f > kStart)) return 0;
    return truncated(std::log10(f / kStart) / m_decades * m_count);
}

double ResponseGraphModel::frequencyOfX(double x) const {
    return kStart * std::pow(10.0, x / std::max(m_count, 1) * m_decades);
}

double ResponseGraphModel::snap(double f) const {
    if (m_options.freeFrequencies) return f;
    if (f < kStart) return kStart;
    return FrequencyTable::snap().quantise(f);
}

double ResponseGraphModel::snapBand(double f) const {
    if (m_options.freeFrequencies) return f;
    return FrequencyTable::band().quantise(f);
}

int ResponseGraphModel::gainForDivisor() const {
    return std::max(m_plot.height() - 1, 1);
}

int ResponseGraphModel::bandMarkerY(int tenths) const {
    return -truncated(double(std::max(m_plot.height(), 0)) * tenths / kDbSpan);
}

double ResponseGraphModel::curvePixels(double level) const {
    double px = level * m_plot.height() * -10.0 / kDbSpan;
    if (std::isnan(px)) return 0;
    return std::clamp(px, -kPixelLimit, kPixelLimit);
}

// --- owner operations ---

void ResponseGraphModel::changed(int k) {
    if (m_dragged < 0) {
        m_selected = k;
        m_labelled = k;
    }
    recomputeSlot(k);
    if (m_host) m_host->invalidate();
}

void ResponseGraphModel::setBandType(int j, double type) {
    if (!validBand(j) || std::isnan(type)) return;
    at(j + kFirstBand).type = static_cast<int>(std::clamp(type, -1e9, 1e9));
    changed(j + kFirstBand);
}

void ResponseGraphModel::setBandFrequency(int j, double f) {
    if (!validBand(j) || std::isnan(f)) return;
    GraphMarker& s = at(j + kFirstBand);
    s.frequency = snapBand(std::clamp(f, m_limits.eqMin, m_limits.eqMax));
    s.markerX = markerXOf(s.frequency);
    changed(j + kFirstBand);
}

void ResponseGraphModel::setBandQ(int j, double q) {
    if (!validBand(j) || std::isnan(q)) return;
    at(j + kFirstBand).q = QTable::snap(q);
    changed(j + kFirstBand);
}

void ResponseGraphModel::setBandGain(int j, double dB) {
    if (!validBand(j) || std::isnan(dB)) return;
    double tenths = std::clamp(dB, kDbBottom / 10.0, kDbTop / 10.0) * 10;
    GraphMarker& s = at(j + kFirstBand);
    s.markerY = -truncated(std::max(m_plot.height(), 0) * tenths / kDbSpan);
    s.gain = static_cast<int>(std::trunc(tenths));
    changed(j + kFirstBand);
}

void ResponseGraphModel::setCrossoverFrequency(int i, double f) {
    if ((i != kHighPass && i != kLowPass) || i >= slotCount() || std::isnan(f)) return;
    GraphMarker& s = at(i);
    if (i == kHighPass) {
        s.frequency = std::clamp(f, m_limits.highPassMin, m_limits.highPassMax);
    } else {
        s.frequency = std::clamp(f, m_limits.lowPassMin, m_limits.lowPassMax);
    }
    s.markerX = markerXOf(s.frequency);
    changed(i);
}

void ResponseGraphModel::setCrossoverUserQ(int mode, double tenthsOfQ) {
    static constexpr int kTypes[] = {32, 33, 36, 37};
    if (mode < 0 || mode > 3 || slotCount() < kFirstBand) return;
    double q = tenthsOfQ / 10;
    if (!(q >= 0.4 && q <= 1.5)) q = 0.4;
    int k = mode & 1;
    at(k).q = q;
    (k == kHighPass ? m_highPassType : m_lowPassType) = kTypes[mode];
    changed(k);
}

void ResponseGraphModel::setCrossoverType(int code) {
    if (code < 8 || (code >= 32 && code <= 39) || code >= 70 || slotCount() < kFirstBand) return;
    bool lowPass = code % 2 == 1 && ((code >= 9 && code <= 31) || (code >= 41 && code <= 69));
    (lowPass ? m_lowPassType : m_highPassType) = code;
    changed(lowPass ? kLowPass : kHighPass);
}

void ResponseGraphModel::setEqEnabled(bool enabled) {
    m_options.eqEnabled = enabled;
    if (m_host) m_host->invalidate();
}

double ResponseGraphModel::bandFrequency(int j) const {
    return validBand(j) ? slot(j + kFirstBand).frequency : 0;
}
double ResponseGraphModel::bandQ(int j) const {
    return validBand(j) ? slot(j + kFirstBand).q : 0;
}
double ResponseGraphModel::bandGainDb(int j) const {
    return validBand(j) ? slot(j + kFirstBand).gain / 10.0 : 0;
}
int ResponseGraphModel::bandType(int j) const {
    return validBand(j) ? slot(j + kFirstBand).type : 0;
}
double ResponseGraphModel::crossoverFrequency(int i) const {
    return (i == kHighPass || i == kLowPass) && i < slotCount() ? slot(i).frequency : 0;
}

bool ResponseGraphModel::show(int mode) {
    if (mode == 0) {
        if (m_host) m_host->invalidate();
        return false;
    }
    if (mode == 1 && m_dragged < 0 && slotCount() > kFirstBand) {
        m_selected = m_labelled = kFirstBand;
        recomputeSlot(kFirstBand);
    }
    return true;
}

void ResponseGraphModel::animationTick() {
    if (++m_frame >= kAnimationFrames) m_frame = 1;
}

// --- curves ---

void ResponseGraphModel::recomputeSlot(int k) {
    if (k < 0 || k >= slotCount()) return;
    GraphMarker& s = at(k);
    FilterCascade cascade;
    if (k == kHighPass || k == kLowPass) {
        cascade =
            FilterCascade::crossover(k == kHighPass ? m_highPassType : m_lowPassType, s.frequency,
                                     s.q, m_limits.highPassMax, m_limits.lowPassMax);
    } else {
        int tenths = -truncated(double(s.markerY) * kDbSpan / gainForDivisor());
        cascade = FilterCascade::band(s.type, frequencyOfX(s.markerX), tenths, s.q);
    }
    s.curve.resize(m_points.size());
    if (cascade.flat()) {
        std::fill(s.curve.begin(), s.curve.end(), 0.0);
    } else {
        for (size_t i = 0; i < m_points.size(); ++i) {
            s.curve[i] = curvePixels(cascade.levelDb(m_points[i]));
        }
    }
    // Slot by slot, in the same order for every column, so the loops vectorise.
    m_sum.assign(m_total.size(), 0.0);
    for (const GraphMarker& other : m_slots) {
        if (!other.enabled) continue;
        const size_t n = std::min(m_sum.size(), other.curve.size());
        for (size_t i = 0; i < n; ++i) m_sum[i] += other.curve[i];
    }
    for (size_t i = 0; i < m_total.size(); ++i) m_total[i] = truncated(m_sum[i]);
    // The shaded area always belongs to the selected slot, also when a layout
    // recomputes every slot in turn.
    if (m_selected >= 0 && m_selected < slotCount()) {
        const auto& curve = slot(m_selected).curve;
        for (size_t i = 0; i < m_selectedCurve.size(); ++i)
            m_selectedCurve[i] = truncated(curve[i]);
    }
}

void ResponseGraphModel::updateCurves() {
    if (!m_recomputeAll) return;
    m_recomputeAll = false;
    for (int k = 0; k < slotCount(); ++k) recomputeSlot(k);
}

std::vector<GraphPoint> ResponseGraphModel::reducedPoints(const std::vector<int>& curve) const {
    std::vector<GraphPoint> points;
    int v = zeroLine();
    size_t n = curve.size();
    for (size_t i = 0; i < n; ++i) {
        GraphPoint p{m_plot.left + int(i), v + curve[i]};
        if (i == 0 || i + 1 == n || p.y != points.back().y) points.push_back(p);
    }
    return points;
}

std::vector<GraphPoint> ResponseGraphModel::selectionOutline() const {
    std::vector<GraphPoint> kept = reducedPoints(m_selectedCurve);
    if (kept.empty()) return kept;
    int v = zeroLine(), left = m_plot.left, right = m_plot.right, deep = 2 * m_plot.bottom;
    std::vector<GraphPoint> outline;
    if (m_selected == kHighPass) {
        kept.back() = {right - 1, v};
        outline.push_back({left, deep});
        outline.insert(outline.end(), kept.begin(), kept.end());
        outline.insert(outline.end(), {{right, v}, {right, deep}, {left, deep}});
    } else if (m_selected == kLowPass) {
        kept.front() = {left + 1, v};
        outline = {{left, deep}, {left, v}};
        outline.insert(outline.end(), kept.begin(), kept.end());
        outline.insert(outline.end(), {{kept.back().x, deep}, {left, deep}});
    } else {
        outline.push_back({left, v});
        outline.insert(outline.end(), kept.begin(), kept.end());
        outline.push_back({right, v});
    }
    return outline;
}

int ResponseGraphModel::handleDistance() const {
    if (m_selected < 0 || m_selected >= slotCount()) return 0;
    double whole = std::trunc(slot(m_selected).q);
    int qi = QTable::kLast;
    for (int k = 1; k <= QTable::kLast; ++k) {
        if (QTable::entry(k) >= whole) {
            qi = k - 1;
            break;
        }
    }
    return static_cast<int>(std::trunc(100 - qi * kHandleSpread + 24));
}

double ResponseGraphModel::markerScale() const {
    return std::max(1.0, m_scale);
}

int ResponseGraphModel::grown(int pixels) const {
    return static_cast<int>(std::trunc(pixels * markerScale()));
}

int ResponseGraphModel::markerHalf() const {
    return grown(kMarkerHalf);
}

GraphPoint ResponseGraphModel::markerCorner(int k) const {
    return {m_plot.left + slot(k).markerX - grown(14), zeroLine() + slot(k).markerY - markerHalf()};
}

GraphRect ResponseGraphModel::handleSquare(bool right) const {
    const GraphMarker& s = slot(m_selected);
    int d = handleDistance();
    int left = m_plot.left + s.markerX - markerHalf() + (right ? d : -d);
    int top = zeroLine() + s.markerY - markerHalf();
    return {left, top, left + 2 * markerHalf(), top + 2 * markerHalf()};
}

// --- label ---

std::string ResponseGraphModel::labelText() const {
    if (!m_options.showLabel || m_labelled < 0 || m_labelled >= slotCount() ||
        !slot(m_labelled).enabled)
        return {};
    const GraphMarker& s = slot(m_labelled);
    // The strip's box text, so that both say the same of one value.
    std::string f = m_options.freeFrequencies
                        ? format("%0.0f", s.frequency)
                        : BandValueText::text(BandValueText::Frequency, s.frequency);
    if (m_labelled < kFirstBand) {
        if (s.frequency < FrequencyTable::kMinimum || s.frequency >= FrequencyTable::kMaximum) {
            return "F:OFF";
        }
        return "F:" + f;
    }
    double g = s.gain / 10.0;
    if (s.hasQHandles) return format("F:%s Q:%0.2f G:%0.1f", f.c_str(), s.q, g);
    return format("F:%s G:%0.1f", f.c_str(), g);
}

GraphRect ResponseGraphModel::labelBox(int textWidth, int textHeight) const {
    if (m_labelled < 0 || m_labelled >= slotCount()) return {};
    const GraphMarker& s = slot(m_labelled);
    int v = zeroLine();
    int x = s.markerX;
    int y = v + s.markerY + markerHalf();
    if (x < m_plot.left) x = m_plot.left + markerHalf();
    if (x + textWidth > m_plot.right) x = m_plot.right - textWidth - markerHalf();
    if (y + textHeight > m_plot.bottom) y = v + s.markerY - textHeight - markerHalf();
    return {x, y, x + textWidth, y + textHeight};
}

// --- input ---

void ResponseGraphModel::notifySlot(int k) {
    if (!m_host) return;
    if (k == kHighPass) {
        m_host->notify(1, 0);
    } else if (k == kLowPass) {
        m_host->notify(2, 0);
    } else {
        m_host->notify(0, k - kFirstBand);
    }
}

int ResponseGraphModel::slotAt(int x, int y) const {
    int v = zeroLine();
    for (int k = 0; k < slotCount(); ++k) {
        const GraphMarker& s = slot(k);
        if (s.enabled && within(x, y, m_plot.left + s.markerX, v + s.markerY, markerHalf()))
            return k;
    }
    return -1;
}

void ResponseGraphModel::mouseDown(int x, int y) {
    if (!m_options.interactive) return;
    if (m_host) m_host->takeFocus();
    if (isBand(m_selected) && slot(m_selected).enabled && slot(m_selected).hasQHandles &&
        m_options.showSelection && m_options.showQHandles) {
        int d = handleDistance();
        int cx = m_plot.left + slot(m_selected).markerX, cy = zeroLine() + slot(m_selected).markerY;
        m_leftHandle = within(x, y, cx - d, cy, markerHalf());
        m_rightHandle = !m_leftHandle && within(x, y, cx + d, cy, markerHalf());
        if ((m_leftHandle || m_rightHandle) && m_host) {
            m_host->setHandCursor(true);
            m_host->setCapture(true);
            m_host->invalidate();
        }
    }
    int k = slotAt(x, y);
    if (k >= 0) {
        m_dragged = k;
        m_selected = k;
        if (m_host) m_host->setHandCursor(true);
        notifySlot(k);
        recomputeSlot(k);
        if (m_host) {
            m_host->invalidate();
            m_host->setCapture(true);
        }
    }
    if (m_options.contextMenu && m_menuItem >= 0) {
        int k = menuItemAt(x, y);
        if (k >= 0) {
            m_menuItem = -1;
            if (m_host) m_host->notify(extraOf(k) < 0 ? 3 + k : 5 + extraOf(k), 0);
        }
    }
}

void ResponseGraphModel::mouseMove(int x, int y) {
    if (!m_options.interactive) return;
    if (m_options.contextMenu && m_menuItem >= 0) {
        const int was = m_menuItem;
        GraphRect last = menuItem(menuItemCount() - 1);
        GraphRect area{m_menuX - kMenuMargin, m_menuY - kMenuMargin, last.right + kMenuMargin,
                       last.bottom + kMenuMargin};
        int k = menuItemAt(x, y);
        if (k >= 0) {
            m_menuItem = k;
        } else if (!area.contains(x, y)) {
            m_menuItem = -1;
        }
        // The highlight follows the pointer.
        if (m_menuItem != was && m_host) m_host->invalidate();
    }
    if (m_dragged >= 0) {
        dragMarker(x, y);
    } else {
        int k = slotAt(x, y);
        if (k >= 0) {
            m_labelled = k;
            if (m_host) m_host->invalidate();
        }
        if (m_host) m_host->setHandCursor(k >= 0);
    }
    if (m_leftHandle || m_rightHandle) dragHandle(x);
}

std::vector<int> ResponseGraphModel::limitColumns(double lo, double hi) const {
    return {markerXOf(lo), markerXOf(hi)};
}

void ResponseGraphModel::dragMarker(int x, int y) {
    int k = m_dragged;
    GraphMarker& s = at(k);
    bool band = isBand(k);
    bool keepX = m_options.verticalOnly && band;
    int v = zeroLine();
    int mx = keepX ? s.markerX : x - m_plot.left;
    int my = std::max(std::min(y, m_plot.bottom), m_plot.top) - v;
    if (!m_options.shelfBoostAllowed && band &&
        (s.type == FilterCascade::kHighShelf || s.type == FilterCascade::kLowShelf) && my < 0) {
        my = 0;
    }
    double f = keepX ? s.frequency : band ? snapBand(frequencyOfX(mx)) : snap(frequencyOfX(mx));
    auto clampTo = [&](double lo, double hi) {
        auto cols = limitColumns(lo, hi);
        mx = std::max(std::min(mx, cols[1]), cols[0]);
        f = std::max(std::min(f, hi), lo);
    };
    if (k == kHighPass) {
        clampTo(m_limits.highPassMin, m_limits.highPassMax);
        if (m_options.keepCrossoversOrdered && slotCount() > kLowPass) {
            mx = std::min(mx, slot(kLowPass).markerX);
            f = std::min(f, slot(kLowPass).frequency);
        }
        my = m_crossoverHeight;
    } else if (k == kLowPass) {
        clampTo(m_limits.lowPassMin, m_limits.lowPassMax);
        if (m_options.keepCrossoversOrdered) {
            mx = std::max(mx, slot(kHighPass).markerX);
            f = std::max(f, slot(kHighPass).frequency);
        }
        my = m_crossoverHeight;
    } else {
        clampTo(m_limits.eqMin, m_limits.eqMax);
        if (s.type == 0) my = 0;
    }
    int h = m_plot.height();
    int gain;
    if (my <= -(h / 3)) {
        gain = kDbTop;
    } else if (my >= 2 * h / 3) {
        gain = kDbBottom;
    } else {
        double g =
            std::clamp(-double(my) * kDbSpan / gainForDivisor(), double(kDbBottom), double(kDbTop));
        gain = static_cast<int>(std::trunc(g + 0.5));
    }
    s.markerX = mx;
    s.markerY = my;
    s.frequency = f;
    s.gain = gain;
    recomputeSlot(k);
    notifySlot(k);
    if (m_host) m_host->invalidate();
    m_leftHandle = m_rightHandle = false;
}

void ResponseGraphModel::dragHandle(int x) {
    int k = m_selected;
    if (!isBand(k)) return;
    GraphMarker& s = at(k);
    double raw = m_leftHandle ? 101 - (s.markerX - x) * kHandleStep
                              : 101 - (x - s.markerX - 48) * kHandleStep;
    int qi = std::clamp(static_cast<int>(std::trunc(raw)), 0, QTable::kSize);
    s.q = QTable::entry(qi);
    if (m_host) m_host->invalidate();
    if (m_dragged < 0) {
        m_labelled = k;
        recomputeSlot(k);
        if (m_host) m_host->invalidate();
    }
    notifySlot(k);
    m_dragged = -1;
}

void ResponseGraphModel::mouseUp(int x, int) {
    if (!m_options.interactive) return;
    if (m_leftHandle || m_rightHandle) dragHandle(x);
    m_leftHandle = m_rightHandle = false;
    if (m_host) m_host->setCapture(false);
    if (m_dragged >= 0) {
        int k = m_dragged;
        m_dragged = -1;
        at(k).markerX = markerXOf(at(k).frequency);
        recomputeSlot(k);
    }
    if (m_host) m_host->invalidate();
}

void ResponseGraphModel::rightButtonUp(int x, int y) {
    if (!m_options.contextMenu) return;
    m_menuX = x;
    m_menuY = y;
    if (m_menuExtras > 0) {
        m_menuX = std::max(0, std::min(x, m_width - m_menuWidth));
        m_menuY = std::max(0, std::min(y, m_height - menuItemCount() * kMenuItemHeight));
    }
    m_menuItem = 0;
    if (m_host) m_host->invalidate();
}

void ResponseGraphModel::closeMenu() {
    if (m_menuItem < 0) return;
    m_menuItem = -1;
    if (m_host) m_host->invalidate();
}

void ResponseGraphModel::wheel(int steps) {
    if (!m_options.interactive) return;
    for (int i = 0; i < std::abs(steps); ++i) stepSlot(steps > 0 ? 1 : -1);
}

void ResponseGraphModel::arrowKey(bool up) {
    stepSlot(up ? 1 : -1);
}

void ResponseGraphModel::stepSlot(int step) {
    int k = m_selected;
    if (k < 0 || k >= slotCount()) return;
    if (isBand(k)) {
        // From the stored tenths, so that -0.3 + 0.1 lands on -0.2 exactly.
        setBandGain(k - kFirstBand, (slot(k).gain + step) / 10.0);
        notifySlot(k);
    } else {
        stepCrossover(k, step);
    }
}

void ResponseGraphModel::stepCrossover(int k, int step) {
    SortedTable table = FrequencyTable::snap();
    GraphMarker& s = at(k);
    int found = -1;
    for (int i = 1; i < table.size(); ++i) {
        if (table[i] >= s.frequency) {
            found = i;
            break;
        }
    }
    if (found < 0 || (step > 0 && found == 1)) return;
    double f = table[std::min(found - step, table.size() - 1)];
    if (k == kHighPass) {
        f = std::clamp(f, m_limits.highPassMin, m_limits.highPassMax);
    } else {
        f = std::clamp(f, m_limits.lowPassMin, m_limits.lowPassMax);
    }
    s.frequency = f;
    s.markerX = markerXOf(f);
    if (m_dragged < 0) {
        m_labelled = k;
        recomputeSlot(k);
        if (m_host) m_host->invalidate();
    }
    notifySlot(k);
}

ResponseGraphModel::MenuState ResponseGraphModel::menuState() const {
    if (m_menuItem >= 0 && extraOf(m_menuItem) >= 0) return MenuState::Extra;
    switch (m_menuItem) {
        case -1:
            return MenuState::Hidden;
        case 0:
            return MenuState::Copy;
        case 1:
            return MenuState::Paste;
        default:
            return MenuState::Extra;
    }
}

void ResponseGraphModel::setMenuExtras(int count, int width, bool copyPaste) {
    m_menuExtras = std::max(0, count);
    m_menuFixed = copyPaste || m_menuExtras == 0 ? 2 : 0;
    m_menuWidth = std::max(kMenuWidth, width);
    m_menuItem = -1;
}

GraphRect ResponseGraphModel::menuItem(int k) const {
    int top = m_menuY + k * kMenuItemHeight;
    return {m_menuX, top, m_menuX + m_menuWidth, top + kMenuItemHeight};
}

int ResponseGraphModel::menuItemAt(int x, int y) const {
    for (int k = 0; k < menuItemCount(); ++k)
        if (menuItem(k).contains(x, y)) return k;
    return -1;
}
