#pragma once

#include <string>
#include <vector>

#include "filter/evaluation_point.h"
#include "filter/frequency_table.h"
#include "filter/graph_geometry.h"
#include "filter/graph_marker.h"
#include "filter/response_graph_host.h"

// Everything of the frequency-response graph that is not drawing: the band
// slots and their markers, the plot geometry, the per-slot curves summed into
// the total, snapping and limits, and what mouse, wheel and keys do to them.
// Frequencies are in Hz, gains in tenths of a dB, Q as a plain number.
class ResponseGraphModel {
public:
    static constexpr int kHighPass = 0;
    static constexpr int kLowPass = 1;
    static constexpr int kFirstBand = 2;
    static constexpr int kMarkerHalf = 12;  // half the side of a marker's square
    static constexpr int kAnimationFrames = 6;

    struct Options {
        bool eqEnabled = true;  // off shows the "EQ PASS" banner
        bool freeFrequencies = false;
        bool verticalOnly = false;
        bool shelfBoostAllowed = true;
        bool keepCrossoversOrdered = false;
        bool showQHandles = true;
        bool showSelection = true;
        bool interactive = true;
        bool contextMenu = false;
        bool showLabel = true;  // the labelled marker's values
    };

    struct Limits {
        double highPassMin = 19, highPassMax = 20600;
        double lowPassMin = 19, lowPassMax = 20600;
        double eqMin = FrequencyTable::kBandMinimum, eqMax = 20600;
    };

    enum class MenuState { Hidden, Copy, Paste, Extra };

    explicit ResponseGraphModel(ResponseGraphHost* host = nullptr) : m_host(host) {}
    void setHost(ResponseGraphHost* host) { m_host = host; }

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }
    Limits& limits() { return m_limits; }
    void setScale(double scale);

    // Prepares `bands` equaliser bands for a client area of the given size.
    void initialise(int bands, int width, int height);
    // A new client size; the next paint recomputes every slot.
    void layout(int width, int height);

    // The owner's operations; j counts equaliser bands from 0, i is 0 for the
    // high-pass and 1 for the low-pass. Out-of-range indices and values that
    // are not numbers are refused.
    void setBandType(int j, double type);
    void setBandFrequency(int j, double f);
    void setBandQ(int j, double q);
    void setBandGain(int j, double dB);
    void setCrossoverFrequency(int i, double f);
    void setCrossoverUserQ(int mode, double tenthsOfQ);
    void setCrossoverType(int code);
    void setEqEnabled(bool enabled);
    bool eqEnabled() const { return m_options.eqEnabled; }

    int bandCount() const { return slotCount() - kFirstBand; }
    double bandFrequency(int j) const;
    double bandQ(int j) const;
    double bandGainDb(int j) const;
    int bandType(int j) const;
    double crossoverFrequency(int i) const;
    int highPassType() const { return m_highPassType; }
    int lowPassType() const { return m_lowPassType; }

    // Showing (1 also selects the first band); true when the animation should run.
    bool show(int mode);
    void animationTick();
    int animationFrame() const { return m_frame; }

    // User input, in client pixels.
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);
    void rightButtonUp(int x, int y);
    // Escape: the menu goes without a choice.
    void closeMenu();
    void wheel(int steps);   // positive forward
    void arrowKey(bool up);  // up arrow or down arrow

    // State for drawing.
    int slotCount() const { return static_cast<int>(m_slots.size()); }
    const GraphMarker& slot(int k) const { return m_slots[static_cast<size_t>(k)]; }
    int selectedSlot() const { return m_selected; }
    int labelledSlot() const { return m_labelled; }
    int draggedSlot() const { return m_dragged; }
    bool leftHandleDragged() const { return m_leftHandle; }
    bool rightHandleDragged() const { return m_rightHandle; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    GraphRect plot() const { return m_plot; }
    int zeroLine() const;  // y of 0 dB
    int columns() const { return m_count; }
    // Markers, their arrows and the margins grow with the window, never below their design size.
    double markerScale() const;
    int markerHalf() const;
    double scale() const { return m_scale; }
    int markerXOf(double f) const;
    double frequencyOfX(double x) const;

    // Recomputes every slot when a layout asked for it.
    void updateCurves();
    void recomputeSlot(int k);
    const std::vector<int>& total() const { return m_total; }
    const std::vector<int>& selectedCurve() const { return m_selectedCurve; }
    // Curve points with repeated heights dropped, in client pixels.
    std::vector<GraphPoint> reducedPoints(const std::vector<int>& curve) const;
    // The closed outline of the selected slot's shaded area.
    std::vector<GraphPoint> selectionOutline() const;
    // Distance of the Q handles from the selected marker.
    int handleDistance() const;
    // Top-left corners of the drawn pictures.
    GraphPoint markerCorner(int k) const;
    GraphRect handleSquare(bool right) const;

    std::string labelText() const;
    GraphRect labelBox(int textWidth, int textHeight) const;

    MenuState menuState() const;
    // Items the owner adds below "Copy" and "Paste" (or alone), all of the
    // given width (at least the menu's own); choosing extra item j notifies
    // (5 + j, 0). A menu with extras is kept inside the client area.
    void setMenuExtras(int count, int width, bool copyPaste = true);
    int menuItemCount() const { return m_menuFixed + m_menuExtras; }
    // The extra item shown as item k, or -1 for "Copy" and "Paste".
    int extraOf(int k) const { return k < m_menuFixed ? -1 : k - m_menuFixed; }
    GraphRect menuItem(int k) const;
    int highlightedItem() const { return m_menuItem; }  // -1 while hidden

private:
    int grown(int pixels) const;
    bool validBand(int j) const { return j >= 0 && j < bandCount(); }
    bool isBand(int k) const { return k >= kFirstBand && k < slotCount(); }
    GraphMarker& at(int k) { return m_slots[static_cast<size_t>(k)]; }
    void setGeometry(int width, int height);
    void updateColumns();
    void changed(int k);  // selects, labels, recomputes and repaints unless dragging
    void notifySlot(int k);
    double snap(double f) const;
    // Bands snap to the strip's table, whose bottom lies below the axis.
    double snapBand(double f) const;
    int gainForDivisor() const;
    int bandMarkerY(int tenths) const;
    double curvePixels(double level) const;
    int slotAt(int x, int y) const;
    void dragMarker(int x, int y);
    void dragHandle(int x);
    void stepSlot(int step);
    void stepCrossover(int k, int step);
    std::vector<int> limitColumns(double lo, double hi) const;
    int menuItemAt(int x, int y) const;

    ResponseGraphHost* m_host = nullptr;
    Options m_options;
    Limits m_limits;
    double m_scale = 1.0;
    int m_width = 0;
    int m_height = 0;
    GraphRect m_plot;
    double m_decades = 0;
    int m_count = 0;
    int m_crossoverHeight = 80;
    std::vector<EvaluationPoint> m_points;
    std::vector<GraphMarker> m_slots;
    std::vector<int> m_total;
    std::vector<double> m_sum;  // the total before truncation, reused
    std::vector<int> m_selectedCurve;
    int m_highPassType = 8;
    int m_lowPassType = 9;
    int m_selected = 0;
    int m_labelled = 0;
    int m_dragged = -1;
    bool m_leftHandle = false;
    bool m_rightHandle = false;
    int m_frame = 0;
    bool m_recomputeAll = false;
    int m_menuItem = -1;
    int m_menuExtras = 0;
    int m_menuFixed = 2;
    int m_menuWidth = 50;
    int m_menuX = 0;
    int m_menuY = 0;
};
