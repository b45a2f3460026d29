#include "resources/skin_art.h"

#include <QPainter>
#include <list>
#include <mutex>

#include "resources/button_art.h"
#include "resources/control_art.h"
#include "resources/skin_ids.h"
#include "resources/skin_layout.h"
#include "resources/window_art.h"

namespace {

struct Entry {
    SkinId id;
    QSize size;
    bool opaque;  // a bitmap: no transparency
    void (*paint)(QPainter&);
};

constexpr QSize strip(QSize frame, int frames) {
    return {frame.width() * frames, frame.height()};
}

using namespace SkinLayout;

const Entry kEntries[] = {
    {SkinId::ProgramIcon, {64, 64}, false, WindowArt::programIcon},
    {SkinId::ProgressEmpty, {541, 161}, true, WindowArt::progressEmpty},
    {SkinId::ProgressFull, {541, 161}, true, WindowArt::progressFull},
    {SkinId::MainWindow, {1077, 681}, true, WindowArt::mainWindow},
    {SkinId::ChannelTest, {640, 680}, true, WindowArt::channelTest},
    {SkinId::RouteCell, {104, 48}, true, WindowArt::routeCell},
    {SkinId::RouteCellOn, {104, 48}, true, WindowArt::routeCellOn},
    {SkinId::RouteCellNarrow, {22, 48}, true, WindowArt::routeCellNarrow},
    {SkinId::CloseButton, strip(kTitleButtonFrame, kButtonFrames), false, ButtonArt::closeButton},
    {SkinId::MaximiseButton, strip(kTitleButtonFrame, kButtonFrames), false,
     ButtonArt::maximiseButton},
    {SkinId::MinimiseButton, strip(kTitleButtonFrame, kButtonFrames), false,
     ButtonArt::minimiseButton},
    {SkinId::NavigationButton, strip(kNavigationFrame, kButtonFrames), false,
     ButtonArt::navigationButton},
    {SkinId::BandStrip, BandStrip::kImage, false, ControlArt::bandStrip},
    {SkinId::Slider, Slider::kImage, false, ControlArt::slider},
    {SkinId::IntegerSlider, IntegerSlider::kImage, false, ControlArt::integerSlider},
    {SkinId::PageCombo, strip(kPageComboFrame, 2), false, ButtonArt::pageCombo},
    {SkinId::WideButton, strip(kWideButtonFrame, kButtonFrames), false, ButtonArt::wideButton},
    {SkinId::Button, strip(kButtonFrame, kButtonFrames), false, ButtonArt::button},
    {SkinId::StatusButton, strip(kStatusButtonFrame, kButtonFrames), false,
     ButtonArt::statusButton},
    {SkinId::HeaderCombo, strip(kHeaderComboFrame, 2), false, ButtonArt::headerCombo},
    {SkinId::DarkButton, strip(kDarkButtonFrame, kButtonFrames), false, ButtonArt::darkButton},
    {SkinId::AmberButton, strip(kButtonFrame, kButtonFrames), false, ButtonArt::amberButton},
};

const Entry* find(SkinId id) {
    for (const Entry& e : kEntries)
        if (e.id == id) return &e;
    return nullptr;
}

// Renders of pieces are kept while they fit in a budget, least recently used
// dropped first: a layout pass asks for the same pieces again and again. A
// picture as large as a window is asked for once per layout and kept by its
// owner, so a copy here would only double it.
class RenderCache {
public:
    QImage get(SkinId id, const QRectF& source, const QSize& pixels) {
        std::lock_guard lock(m_mutex);
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (it->id == id && it->source == source && it->pixels == pixels) {
                m_items.splice(m_items.begin(), m_items, it);
                return it->image;
            }
        }
        return {};
    }

    void put(SkinId id, const QRectF& source, const QSize& pixels, const QImage& image) {
        if (image.sizeInBytes() > kLargestPiece) return;
        std::lock_guard lock(m_mutex);
        m_items.push_front({id, source, pixels, image});
        m_bytes += image.sizeInBytes();
        while (m_bytes > kBudget && m_items.size() > 1) {
            m_bytes -= m_items.back().image.sizeInBytes();
            m_items.pop_back();
        }
    }

private:
    static constexpr qsizetype kBudget = 16 * 1024 * 1024;
    static constexpr qsizetype kLargestPiece = 1024 * 1024;
    struct Item {
        SkinId id;
        QRectF source;
        QSize pixels;
        QImage image;
    };
    std::mutex m_mutex;
    std::list<Item> m_items;
    qsizetype m_bytes = 0;
};

RenderCache& cache() {
    static RenderCache instance;
    return instance;
}

// Far beyond any screen; guards against absurd sizes from a broken layout.
constexpr int kMaxSide = 16384;

}  // namespace

bool SkinArt::exists(SkinId id) {
    return find(id) != nullptr;
}

QSize SkinArt::size(SkinId id) {
    const Entry* e = find(id);
    return e ? e->size : QSize();
}

QImage SkinArt::image(SkinId id) {
    const Entry* e = find(id);
    if (!e) return {};
    return render(id, QRectF(QPointF(0, 0), e->size), e->size);
}

QImage SkinArt::render(SkinId id, const QRectF& source, const QSize& pixels) {
    const Entry* e = find(id);
    if (!e || pixels.isEmpty() || source.isEmpty() || pixels.width() > kMaxSide ||
        pixels.height() > kMaxSide)
        return {};
    if (QImage cached = cache().get(id, source, pixels); !cached.isNull()) return cached;

    QImage out(pixels, QImage::Format_ARGB32_Premultiplied);
    out.fill(e->opaque ? Qt::black : Qt::transparent);
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(pixels.width() / source.width(), pixels.height() / source.height());
        p.translate(-source.topLeft());
        p.setClipRect(QRectF(QPointF(0, 0), e->size));
        e->paint(p);
    }
    if (e->opaque) out = out.convertToFormat(QImage::Format_RGB32);
    cache().put(id, source, pixels, out);
    return out;
}
