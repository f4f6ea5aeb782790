#pragma once

// Something the bar-code routines can draw on: the preview box or the printer.
// Names follow the old drawing model the program's geometry is written in.
class DrawingSurface
{
public:
    // ScaleMode values used by the program.
    static constexpr int Twips = 1;
    static constexpr int Centimeters = 7;

    virtual ~DrawingSurface() = default;

    // Changing the unit keeps the pen where it is on the surface and
    // re-expresses CurrentX and CurrentY in the new unit.
    [[nodiscard]] virtual int ScaleMode() const = 0;
    virtual void setScaleMode(int mode) = 0;

    // The pen, in the current unit.
    [[nodiscard]] virtual float CurrentX() const = 0;
    virtual void setCurrentX(float x) = 0;
    [[nodiscard]] virtual float CurrentY() const = 0;
    virtual void setCurrentY(float y) = 0;

    // Width of the drawing area, from the pen's origin to the right edge, in
    // the current unit: nothing drawn at or past it can be seen.
    [[nodiscard]] virtual float ScaleWidth() const = 0;

    // Width of one of the surface's own device pixels, in twips.
    [[nodiscard]] virtual float TwipsPerPixelX() const = 0;

    // Fills the box between two corners (current unit) with black.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;

    // True for the printer; the bar width of every other surface follows the screen.
    [[nodiscard]] virtual bool isPrinter() const = 0;
};
