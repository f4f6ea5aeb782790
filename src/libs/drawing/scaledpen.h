#pragma once

#include <optional>

// The pen and unit of a drawing surface. The pen is held in twips, so changing
// the unit keeps it where it is and only re-expresses its coordinates.
class ScaledPen
{
public:
    static constexpr double TwipsPerInch = 1440.0;
    static constexpr int Twips = 1;
    static constexpr int Centimeters = 7;

    // Size of one unit in twips, for the units that do not depend on the
    // device: twips (1), points (2), inches (5), millimetres (6), centimetres (7).
    [[nodiscard]] static std::optional<double> twipsPerUnit(int scaleMode);

    [[nodiscard]] int scaleMode() const { return m_scaleMode; }
    // Returns false, keeping the unit, for a unit that twipsPerUnit() lacks.
    bool setScaleMode(int mode);

    // In the current unit.
    [[nodiscard]] float x() const;
    void setX(float x);
    [[nodiscard]] float y() const;
    void setY(float y);

    [[nodiscard]] double xTwips() const { return m_xTwips; }
    [[nodiscard]] double yTwips() const { return m_yTwips; }

    // A length or coordinate in the current unit, in twips.
    [[nodiscard]] double toTwips(double value) const { return value * m_twipsPerUnit; }
    // A length or coordinate in twips, in the current unit.
    [[nodiscard]] float fromTwips(double twips) const
    {
        return static_cast<float>(twips / m_twipsPerUnit);
    }

private:
    int m_scaleMode = Twips;
    double m_twipsPerUnit = 1.0;
    double m_xTwips = 0.0;
    double m_yTwips = 0.0;
};
