#include "recordingsurface.h"

RecordingSurface::RecordingSurface(float twipsPerPixelX)
    : m_twipsPerPixelX(twipsPerPixelX)
{ }

void RecordingSurface::Line(float x1, float y1, float x2, float y2)
{
    m_boxes.append(Box {x1, y1, x2, y2, ScaleMode()});
}
