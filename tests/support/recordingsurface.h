#pragma once

#include "drawing/drawingsurface.h"

#include <QList>

#include <limits>

// A drawing surface that remembers every filled box instead of drawing it.
// Its pen and unit behave like a real surface's: a change of unit keeps the
// pen in place and re-expresses its coordinates.
class RecordingSurface : public DrawingSurface
{
public:
    // One Line call: the corners as given, in the unit that was set.
    struct Box
    {
        float x1 = 0;
        float y1 = 0;
        float x2 = 0;
        float y2 = 0;
        int scaleMode = DrawingSurface::Twips;
    };

    explicit RecordingSurface(float twipsPerPixelX = 15.0f);

    void setTwipsPerPixelX(float twips) { m_twipsPerPixelX = twips; }
    // In twips; unbounded until set.
    void setWidthTwips(float twips) { m_widthTwips = twips; }

    [[nodiscard]] const QList<Box> &boxes() const { return m_boxes; }
    void clearBoxes() { m_boxes.clear(); }

    [[nodiscard]] float ScaleWidth() const override { return pen().fromTwips(m_widthTwips); }
    [[nodiscard]] float TwipsPerPixelX() const override { return m_twipsPerPixelX; }
    void Line(float x1, float y1, float x2, float y2) override;

private:
    QList<Box> m_boxes;
    float m_twipsPerPixelX;
    float m_widthTwips = std::numeric_limits<float>::infinity();
};
