#pragma once

#include "scaledpen.h"

// Something the bar-code routines can draw on: the preview box or the printer.
// Names follow the old drawing model the program's geometry is written in.
// The surface keeps the pen: changing the unit leaves it where it is on the
// surface and re-expresses CurrentX and CurrentY in the new unit.
class DrawingSurface
{
public:
    // ScaleMode values used by the program.
    static constexpr int Twips = ScaledPen::Twips;
    static constexpr int Centimeters = ScaledPen::Centimeters;

    virtual ~DrawingSurface() = default;

    [[nodiscard]] int ScaleMode() const { return m_pen.scaleMode(); }
    // Twips, points, inches, millimetres and centimetres; any other unit is
    // refused with a warning in the log and the unit stays.
    virtual void setScaleMode(int mode);

    // The pen, in the current unit.
    [[nodiscard]] float CurrentX() const { return m_pen.x(); }
    virtual void setCurrentX(float x) { m_pen.setX(x); }
    [[nodiscard]] float CurrentY() const { return m_pen.y(); }
    virtual void setCurrentY(float y) { m_pen.setY(y); }

    // Width of the drawing area, from the pen's origin to the right edge, in
    // the current unit: nothing drawn at or past it can be seen.
    [[nodiscard]] virtual float ScaleWidth() const = 0;

    // Width of one of the surface's own device pixels, in twips: the printer's
    // dots, or the screen's pixels for every other surface.
    [[nodiscard]] virtual float TwipsPerPixelX() const = 0;

    // Fills the box between two corners (current unit) with black.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;

protected:
    [[nodiscard]] const ScaledPen &pen() const { return m_pen; }

private:
    ScaledPen m_pen;
};

// Sets a surface's unit for as long as it lives, then puts back the one before:
// bar codes are measured in twips whatever unit their caller works in.
class ScaleModeScope
{
public:
    ScaleModeScope(DrawingSurface &surface, int mode)
        : m_surface(surface)
        , m_saved(surface.ScaleMode())
    {
        m_surface.setScaleMode(mode);
    }
    ~ScaleModeScope() { m_surface.setScaleMode(m_saved); }
    ScaleModeScope(const ScaleModeScope &) = delete;
    ScaleModeScope &operator=(const ScaleModeScope &) = delete;

private:
    DrawingSurface &m_surface;
    int m_saved;
};
