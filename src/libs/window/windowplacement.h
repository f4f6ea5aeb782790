#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

namespace WindowPlacement {

// Top-left corner that centres a window of the given outer size on the screen,
// in twips. Not rounded and not clamped: a window larger than the screen gets a
// negative position.
[[nodiscard]] QPointF centred(QSizeF screenTwips, QSizeF windowTwips);

// "Quillmark 2.61": the minor version in plain decimal, 2.5 for minor 5.
[[nodiscard]] QString caption(int major, int minor);

} // namespace WindowPlacement
