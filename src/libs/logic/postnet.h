#pragma once

#include "drawing/drawingsurface.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// POSTNET bar codes, drawn bar by bar at a fixed size in twips on any surface.
namespace basPostNet {

// Bar kinds handed to DrawBar: exactly FullBar draws a full bar, every other
// value a half bar.
inline constexpr qint32 HalfBar = 0;
inline constexpr qint32 FullBar = 1;

// Draws one bar with its top-left corner at the pen (full bars; a half bar is
// the lower part of a full one) and moves the pen one bar pitch to the right.
// The surface's unit is the same afterwards.
void DrawBar(DrawingSurface &surface, const qint32 &barKind);

// The check digit of the digits in the text (other characters count nothing):
// with it, their sum is a multiple of 10. Nothing when the text has no digit.
[[nodiscard]] std::optional<int> checkDigit(QStringView text);

// Draws the bar code of the digits in the text, with its check digit and the
// frame bars, starting at the pen. Other characters are ignored; a text
// without digits draws nothing and leaves the pen where it is. Drawing stops
// at the surface's right edge; the check digit is always that of every digit.
void DrawPostNet(QString text, DrawingSurface &surface);

} // namespace basPostNet
