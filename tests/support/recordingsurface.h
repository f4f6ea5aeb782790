#pragma once

#include "barcode/drawingsurface.h"
#include "barcode/scaledpen.h"

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

    explicit RecordingSurface(bool printer = false, float twipsPerPixelX = 15.0f);

    void setPrinter(bool printer) { m_printer = printer; }
    void setTwipsPerPixelX(float twips) { m_twipsPerPixelX = twips; }
    // In twips; unbounded until set.
    void setWidthTwips(float twips) { m_widthTwips = twips; }

    [[nodiscard]] const QList<Box> &boxes() const { return m_boxes; }
    void clearBoxes() { m_boxes.clear(); }

    [[nodiscard]] int ScaleMode() const override { return m_pen.scaleMode(); }
    // A unit the pen does not know fails the test that set it.
    void setScaleMode(int mode) override;
    [[nodiscard]] float CurrentX() const override { return m_pen.x(); }
    void setCurrentX(float x) override { m_pen.setX(x); }
    [[nodiscard]] float CurrentY() const override { return m_pen.y(); }
    void setCurrentY(float y) override { m_pen.setY(y); }
    [[nodiscard]] float ScaleWidth() const override { return m_pen.fromTwips(m_widthTwips); }
    [[nodiscard]] float TwipsPerPixelX() const override { return m_twipsPerPixelX; }
    void Line(float x1, float y1, float x2, float y2) override;
    [[nodiscard]] bool isPrinter() const override { return m_printer; }

private:
    ScaledPen m_pen;
    QList<Box> m_boxes;
    bool m_printer;
    float m_twipsPerPixelX;
    float m_widthTwips = std::numeric_limits<float>::infinity();
};
