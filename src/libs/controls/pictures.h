#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// The pictures the window carries with it, rendered from their SVG drawings
// when the program is built, at each device pixel ratio desktops use.
namespace Pictures {

enum class Id
{
    Envelope, // the large envelope the address fields lie on
    PrinterLeft, // feed-side choices
    PrinterRight,
    PrinterCenter,
    EnvelopeSmall, // envelope-size choices
    EnvelopeLong,
    EnvelopeLarge,
    LogoPlaceholder, // shown while no logo is chosen
};

// The picture's size in logical pixels; the window lays its boxes out around it.
[[nodiscard]] QSize pixelSize(Id id);

// The picture drawn at pixelSize() times the ratio, with that ratio set on the
// image, so it shows at its logical size and stays sharp on high-density
// screens. A picture that cannot be loaded comes back transparent.
[[nodiscard]] QImage render(Id id, qreal devicePixelRatio = 1.0);

// The logo placeholder as the logo box shows it and the page prints it, drawn
// at a generous resolution: it is stretched on screen and printed 1.5 cm wide.
[[nodiscard]] QImage logoPlaceholder();

// The window icon at 16 pixels (a drawing simplified for that size) and at
// 24 to 256 pixels.
[[nodiscard]] QIcon windowIcon();

} // namespace Pictures
