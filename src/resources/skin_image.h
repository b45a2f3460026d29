#pragma once

#include <QImage>
#include <QRectF>

#include "resources/skin_ids.h"

class QPainter;

// A picture of the skin, as the controls hold one: its width and height
// are those of the picture at natural size, and drawing a region of it into a
// rectangle renders that region afresh at the target's pixel size.
class SkinImage {
public:
    SkinImage() = default;
    // A null image when the skin has no picture of that number.
    static SkinImage load(SkinId id);
    // Wraps an ordinary image, drawn by stretching.
    static SkinImage fromImage(const QImage& image);

    bool isNull() const { return m_id == SkinId::None && m_plain.isNull(); }
    SkinId id() const { return m_id; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }

    void draw(QPainter& painter, const QRectF& target, const QRectF& source) const;
    void draw(QPainter& painter, const QRectF& target) const;
    // The picture at its natural size.
    QImage toImage() const;

private:
    SkinId m_id = SkinId::None;
    QSize m_size;
    QImage m_plain;
};
