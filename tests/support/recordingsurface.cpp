#include "recordingsurface.h"

void RecordingSurface::setScaleMode(int mode)
{
    record("setScaleMode", {double(mode)});
    DrawingSurface::setScaleMode(mode);
}

void RecordingSurface::setCurrentX(float x)
{
    record("setCurrentX", {x});
    DrawingSurface::setCurrentX(x);
}

void RecordingSurface::setCurrentY(float y)
{
    record("setCurrentY", {y});
    DrawingSurface::setCurrentY(y);
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2)
{
    record("Line", {x1, y1, x2, y2});
    m_boxes.append(Box {x1, y1, x2, y2, ScaleMode()});
}

void RecordingSurface::Print(const QString &line)
{
    record("Print", {}, QStringLiteral("\"%1\" @%2,%3").arg(line).arg(CurrentX()).arg(CurrentY()));
}

void RecordingSurface::PaintPicture(
    const QImage &picture, float x, float y, float width, float height)
{
    record("PaintPicture", {x, y, width, height},
        QStringLiteral("\"%1x%2\"").arg(picture.width()).arg(picture.height()));
}

bool RecordingSurface::record(
    const char *operation, const QList<double> &numbers, const QString &text)
{
    m_ok = m_ok && (m_failFrom < 0 || m_log.size() < m_failFrom);
    QStringList parts {QLatin1StringView(operation)};
    for (const double value : numbers)
        parts << QString::number(value, 'g', 6);
    m_log << (parts << text).join(u' ').trimmed();
    return m_ok;
}
