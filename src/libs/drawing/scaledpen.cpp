#include "scaledpen.h"

std::optional<double> ScaledPen::twipsPerUnit(int scaleMode)
{
    switch (scaleMode) {
    case Twips:
        return 1.0;
    case 2:
        return 20.0;
    case 5:
        return TwipsPerInch;
    case 6:
        return TwipsPerInch / 25.4;
    case Centimeters:
        return TwipsPerInch / 2.54;
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
    return fromTwips(m_xTwips);
}

void ScaledPen::setX(float x)
{
    m_xTwips = toTwips(x);
}

float ScaledPen::y() const
{
    return fromTwips(m_yTwips);
}

void ScaledPen::setY(float y)
{
    m_yTwips = toTwips(y);
}
