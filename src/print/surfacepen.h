#pragma once

#include <optional>

// The pen and the unit of a drawing surface. The pen is kept in twips, so a
// change of unit leaves it where it is and only changes how it is expressed.
class SurfacePen
{
public:
    static constexpr double TwipsPerInch = 1440;

    // Twips in one unit of a ScaleMode (1 twips, 2 points, 5 inches,
    // 6 millimetres, 7 centimetres); nothing for any other mode.
    [[nodiscard]] static std::optional<double> twipsPerUnit(int scaleMode);

    [[nodiscard]] int scaleMode() const { return m_scaleMode; }
    // False, and nothing changes, for a mode without a fixed size.
    bool setScaleMode(int mode);

    [[nodiscard]] float x() const { return fromTwips(m_xTwips); }
    [[nodiscard]] float y() const { return fromTwips(m_yTwips); }
    void setX(float x) { m_xTwips = toTwips(x); }
    void setY(float y) { m_yTwips = toTwips(y); }

    [[nodiscard]] double xTwips() const { return m_xTwips; }
    [[nodiscard]] double yTwips() const { return m_yTwips; }

    // A length or coordinate in the current unit, in twips.
    [[nodiscard]] double toTwips(double value) const { return value * m_twipsPerUnit; }

private:
    [[nodiscard]] float fromTwips(double twips) const
    {
        return static_cast<float>(twips / m_twipsPerUnit);
    }

    int m_scaleMode = 1;
    double m_twipsPerUnit = 1;
    double m_xTwips = 0;
    double m_yTwips = 0;
};
