#include "surfacepen.h"

std::optional<double> SurfacePen::twipsPerUnit(int scaleMode)
{
    switch (scaleMode) {
    case 1:
        return 1.0;
    case 2:
        return 20.0;
    case 5:
        return TwipsPerInch;
    case 6:
        return TwipsPerInch / 25.4;
    case 7:
        return TwipsPerInch / 2.54;
    default:
        return std::nullopt;
    }
}

bool SurfacePen::setScaleMode(int mode)
{
    const std::optional<double> twips = twipsPerUnit(mode);
    if (!twips)
        return false;
    m_scaleMode = mode;
    m_twipsPerUnit = *twips;
    return true;
}
