#pragma once

#include <QImage>
#include <QTimer>
#include <optional>
#include <vector>

#include "controls/graph_display_list.h"
#include "controls/skin_control.h"
#include "filter/response_graph_host.h"
#include "filter/response_graph_model.h"

// The frequency-response graph: equaliser band markers and the high-pass and
// low-pass crossover markers on a logarithmic frequency axis, the summed
// response, dragging, Q handles, wheel and arrow keys, and a small Copy/Paste
// menu with the owner's extra items. Every user change is reported as a kind
// and a band: (1, 0) high-pass, (2, 0) low-pass, (0, j) band j, (3, 0) Copy,
// (4, 0) Paste, (5 + j, 0) extra item j. Other graphs of the same size can be
// shown faintly behind the curve.
class ResponseGraph : public SkinControl, private ResponseGraphHost {
    Q_OBJECT
public:
    static constexpr int kAnimationMs = 100;

    struct MenuExtra {
        QString text;
        std::optional<bool> checked;  // none: no check box
    };
    struct Companion {
        ResponseGraph* graph;
        QRgb colour;
        QString name;
    };

    explicit ResponseGraph(QWidget* parent = nullptr);
    ~ResponseGraph() override;

    // Options and frequency limits; the owner sets them before initialise.
    ResponseGraphModel::Options& options() { return m_model.options(); }
    ResponseGraphModel::Limits& limits() { return m_model.limits(); }
    void setScale(double scale);
    void setBackgroundImage(const QImage& image);
    const ResponseGraphModel& model() const { return m_model; }

    void initialise(int bands);
    void setBandType(int j, double type) { m_model.setBandType(j, type); }
    void setBandFrequency(int j, double f) { m_model.setBandFrequency(j, f); }
    void setBandQ(int j, double q) { m_model.setBandQ(j, q); }
    void setBandGain(int j, double dB) { m_model.setBandGain(j, dB); }
    void setCrossoverFrequency(int i, double f) { m_model.setCrossoverFrequency(i, f); }
    void setCrossoverUserQ(int mode, double value) { m_model.setCrossoverUserQ(mode, value); }
    void setCrossoverType(int code) { m_model.setCrossoverType(code); }
    void setEqEnabled(bool enabled) { m_model.setEqEnabled(enabled); }
    bool eqEnabled() const { return m_model.eqEnabled(); }
    double bandFrequency(int j) const { return m_model.bandFrequency(j); }
    double bandQ(int j) const { return m_model.bandQ(j); }
    double bandGain(int j) const { return m_model.bandGainDb(j); }
    int bandType(int j) const { return m_model.bandType(j); }
    double crossoverFrequency(int i) const { return m_model.crossoverFrequency(i); }

    void setMenuExtras(std::vector<MenuExtra> extras, bool copyPaste = true);
    void setCompanions(std::vector<Companion> companions) { m_companions = std::move(companions); }
    void setCompanionsShown(bool shown);
    bool companionsShown() const { return m_companionsShown; }
    // The picture as it is drawn, without the menu; false when it cannot be written.
    // The graph as a PNG file, titled with name, without the selected
    // marker's value label, its Q arrows and the menu.
    bool savePicture(const QString& path, const QString& name = QString());

    // 0 stops the marker animation, 1 starts it and selects the first band, 2 only starts it.
    void setAnimation(int mode);
    const QImage& renderPicture() override;

signals:
    void edited(int kind, int band);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void compose() override;

private:
    void notify(int code, int band) override;
    void invalidate() override;
    void setCapture(bool on) override;
    void setHandCursor(bool hand) override;
    void takeFocus() override;

    bool pulseShown() const;
    QRect pulseRect() const;
    void releaseSurfaces();
    void rebuildSurfaces();
    void drawGrid();
    void record(GraphDisplayList& list) const;
    void replay(const GraphDisplayList& list, QImage& onto,
                const GraphDisplayList::Tiles& tiles) const;
    void recordSelection(GraphDisplayList& list) const;
    void recordCompanions(GraphDisplayList& list) const;
    void recordMarkers(GraphDisplayList& list) const;
    void recordLabel(GraphDisplayList& list) const;
    void recordMenu(GraphDisplayList& list) const;
    void updateMenuWidth();

    ResponseGraphModel m_model;
    QTimer m_animation;
    QImage m_markers;
    QImage m_handles;
    QImage m_banner;
    QImage m_grid;
    QImage m_background;  // the surface's composed picture is the back buffer
    bool m_initialised = false;
    bool m_dirty = true;
    QImage m_scratch;
    GraphDisplayList m_shown;  // drawn over the grid in the picture as it stands
    bool m_wholeStale = true;  // the grid changed: the next picture is drawn whole
    int m_wheelRest = 0;
    std::vector<MenuExtra> m_menuExtras;
    bool m_copyPaste = true;
    std::vector<Companion> m_companions;
    bool m_companionsShown = false;
    bool m_exporting = false;  // recording for a saved picture
};
