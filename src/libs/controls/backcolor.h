#pragma once

#include <QColor>

class QWidget;

// The two back colours of the edit controls: pale yellow, the envelope's own
// colour, without the focus and white with it.
namespace BackColor {
inline constexpr QRgb PaleYellow = 0xFFFFC0;
inline constexpr QRgb White = 0xFFFFFF;

void set(QWidget *widget, QRgb color);
[[nodiscard]] QRgb of(const QWidget *widget);
} // namespace BackColor
