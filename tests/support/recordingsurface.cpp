#include "recordingsurface.h"

#include <QTest>

RecordingSurface::RecordingSurface(bool printer, float twipsPerPixelX)
    : m_printer(printer)
    , m_twipsPerPixelX(twipsPerPixelX)
{ }

void RecordingSurface::setScaleMode(int mode)
{
    QVERIFY2(m_pen.setScaleMode(mode), "unsupported scale mode set on a recording surface");
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2)
{
    m_boxes.append(Box {x1, y1, x2, y2, m_pen.scaleMode()});
}
