#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "resources/skin_ids.h"

// An off-screen drawing surface: a picture that remembers the area it covers
// (its extent) and can be loaded from a skin bitmap, recreated, filled, or
// filled by copying or stretching from another surface. The main window keeps
// its skin in one of these; pages and controls copy the piece under them from it.
//
// Coordinates are logical pixels; a surface with a pixel ratio of 2 holds
// twice as many device pixels each way, so that it stays sharp on a HiDPI
// screen. The extent is bookkeeping of (left, top, right, bottom) as the
// operations below define it.
class DrawingSurface {
public:
    static constexpr QRgb kRecreateFill = 0xFFF0F0F0;  // RGB(240, 240, 240)

    DrawingSurface() = default;
    // Loaded from the skin bitmap with that number.
    explicit DrawingSurface(SkinId bitmapId);
    // Blank, covering the rectangle, pixels black.
    explicit DrawingSurface(const QRect& rect, qreal pixelRatio = 1.0);
    virtual ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    // On an empty surface: the bitmap at its natural size; extent (0, 0, width, height).
    // False when the skin has no such bitmap (the surface is then left empty).
    bool loadSkin(SkinId bitmapId);
    // Device pixels per logical pixel of the pictures made from now on; a
    // picture of another ratio is made afresh, blank.
    void setPixelRatio(qreal ratio);
    qreal pixelRatio() const { return m_ratio; }
    void release();
    // The same picture and extent as the other surface, sharing its pixels
    // until either is drawn on.
    void shareFrom(const DrawingSurface& other);
    // A fresh picture of (right - left) x (bottom - top) painted RGB(240, 240, 240)
    // with a one-pixel black outline. Nothing happens for a width or height of 0 or less.
    void recreate(int left, int top, int right, int bottom);

    // Copies the block of (right - x) x (bottom - y) pixels at (sourceX, sourceY)
    // of the source to (x, y). When right or bottom lie beyond the extent the
    // surface is first recreated for (x, y, right, bottom).
    void copyFrom(int x, int y, int right, int bottom, const DrawingSurface& source, int sourceX,
                  int sourceY);
    void copyFrom(int x, int y, int right, int bottom, const QImage& source, int sourceX,
                  int sourceY);
    // Stretches the source rectangle onto (x, y)-(right, bottom), with the same
    // growth rule. A source that still holds an untouched skin bitmap is drawn
    // afresh at the target size, so it stays sharp at any scale.
    void stretchFrom(int x, int y, int right, int bottom, const DrawingSurface& source,
                     int sourceLeft, int sourceTop, int sourceRight, int sourceBottom);
    // Widens the extent to the rectangle (left, top, right, bottom) and fills it.
    void fill(const QRect& rect, const QColor& colour);

    bool selected() const { return m_selected; }
    bool isEmpty() const { return !m_selected; }
    // (left, top, right, bottom)
    int left() const { return m_left; }
    int top() const { return m_top; }
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }
    // In logical pixels.
    int width() const;
    int height() const;

    const QImage& image() const { return m_image; }
    // For callers that draw on the surface directly.
    QImage* dc();

private:
    void growFor(int x, int y, int right, int bottom);
    void setExtent(int left, int top, int right, int bottom);

    QImage m_image;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    bool m_selected = false;
    SkinId m_skinId = SkinId::None;  // the skin bitmap the picture still is, untouched
    qreal m_ratio = 1.0;
};
