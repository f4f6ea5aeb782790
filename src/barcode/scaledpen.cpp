#include "scaledpen.h"

std::optional<double> ScaledPen::twipsPerUnit(int scaleMode)
{
    constexpr double twipsPerInch = 1440.0;
    switch (scaleMode) {
    case DrawingSurface::Twips:
        return 1.0;
    case 2:
        return 20.0;
    case 5:
        return twipsPerInch;
    case 6:
        return twipsPerInch / 25.4;
    case DrawingSurface::Centimeters:
        return twipsPerInch / 2.54;
    default:
        return std::nullopt;
    }
}

bool ScaledPen::setScaleMode(int mode)
{
    const std::optional<double> unit = twipsPerUnit(mode);
    if (!unit)
        return false;
    m_scaleMode = mode;
    m_twipsPerUnit = *unit;
    return true;
}

float ScaledPen::x() const
{
    return static_cast<float>(m_xTwips / m_twipsPerUnit);
}

void ScaledPen::setX(float x)
{
    m_xTwips = toTwips(x);
}

float ScaledPen::y() const
{
    return static_cast<float>(m_yTwips / m_twipsPerUnit);
}

void ScaledPen::setY(float y)
{
    m_yTwips = toTwips(y);
}

double ScaledPen::toTwips(float value) const
{
    return static_cast<double>(value) * m_twipsPerUnit;
}
