#include "drawingsurface.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDrawing, "quillmark.drawing")

void DrawingSurface::setScaleMode(int mode)
{
    if (!m_pen.setScaleMode(mode))
        qCWarning(lcDrawing) << "ScaleMode" << mode << "is not supported; keeping"
                             << m_pen.scaleMode();
}
