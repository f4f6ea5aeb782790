#pragma once

// The window is laid out in twips at 15 to a logical pixel (96 dpi), whatever
// the screen's dpi: its pictures are drawn to those pixel sizes, and the
// controls on the envelope must stay where the envelope's picture shows them.
namespace LayoutTwips {

inline constexpr int PerPixel = 15;

[[nodiscard]] constexpr int toPixels(int twips)
{
    return twips / PerPixel;
}

} // namespace LayoutTwips
