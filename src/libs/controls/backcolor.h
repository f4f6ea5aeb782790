#pragma once

#include <QColor>

class QWidget;

// The two back colours of the envelope and the edit controls on it: pale
// yellow, the envelope's own colour, without the focus and white with it.
namespace BackColor {
inline constexpr QRgb PaleYellow = 0xFFFFC0;
inline constexpr QRgb White = 0xFFFFFF;
// The text colour that goes with either: the desktop's text colour may be a
// light one under a dark colour scheme.
inline constexpr QRgb Text = 0x000000;

// Gives the widget (and its children, unless they set their own) the back
// colour and the dark text that reads on it.
void set(QWidget *widget, QRgb color);
[[nodiscard]] QRgb of(const QWidget *widget);
} // namespace BackColor
