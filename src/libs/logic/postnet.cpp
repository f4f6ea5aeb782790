#include "postnet.h"

#include <array>
#include <cmath>

namespace basPostNet {

namespace {

constexpr float BarPitch = 67.0f;
constexpr float FullBarHeight = 190.0f;
constexpr float HalfBarTop = 120.0f;
constexpr double MinBarWidth = 15.0;
constexpr double MaxBarWidth = 24.0;

// Left to right; the positions weigh 7, 4, 2, 1, 0 and 0 is written as 7 + 4.
constexpr std::array<std::array<qint32, 5>, 10> DigitBars {{
    {FullBar, FullBar, HalfBar, HalfBar, HalfBar},
    {HalfBar, HalfBar, HalfBar, FullBar, FullBar},
    {HalfBar, HalfBar, FullBar, HalfBar, FullBar},
    {HalfBar, HalfBar, FullBar, FullBar, HalfBar},
    {HalfBar, FullBar, HalfBar, HalfBar, FullBar},
    {HalfBar, FullBar, HalfBar, FullBar, HalfBar},
    {HalfBar, FullBar, FullBar, HalfBar, HalfBar},
    {FullBar, HalfBar, HalfBar, HalfBar, FullBar},
    {FullBar, HalfBar, HalfBar, FullBar, HalfBar},
    {FullBar, HalfBar, FullBar, HalfBar, HalfBar},
}};

// The largest whole number of device pixels that fits in the bar, in whole
// twips. The small excess over 23 and 24 twips lets a pixel that fits exactly,
// or all but, count in spite of rounding error.
[[nodiscard]] float barWidthFor(float pixelSize)
{
    const float base = pixelSize >= 6.0f ? 23.01f : 24.01f;
    const float pixels = std::floor(base / pixelSize);
    const double width = std::nearbyint(static_cast<double>(pixels * pixelSize));
    // Written so that a nonsensical pixel size (0, negative, NaN) still gives a bar.
    if (!(width >= MinBarWidth))
        return static_cast<float>(MinBarWidth);
    if (width > MaxBarWidth)
        return static_cast<float>(MaxBarWidth);
    return static_cast<float>(width);
}

[[nodiscard]] bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

[[nodiscard]] int digitValue(QChar c)
{
    return c.unicode() - u'0';
}

[[nodiscard]] QStringView withoutOuterSpaces(QStringView text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == u' ')
        ++first;
    while (end > first && text[end - 1] == u' ')
        --end;
    return text.mid(first, end - first);
}

// Hands bars to DrawBar until the pen reaches the surface's right edge: a
// bar beyond it cannot be seen, and a long text would otherwise cost a bar
// per digit however narrow the surface.
class VisibleBars
{
public:
    explicit VisibleBars(DrawingSurface &surface)
        : m_surface(surface)
        , m_edge(surface.ScaleWidth())
    { }

    // False once the pen is at or past the edge; nothing is drawn then.
    bool draw(const qint32 &barKind)
    {
        if (m_surface.CurrentX() >= m_edge)
            return false;
        DrawBar(m_surface, barKind);
        return true;
    }

    bool drawDigit(int digit)
    {
        for (const qint32 &barKind : DigitBars[static_cast<std::size_t>(digit)]) {
            if (!draw(barKind))
                return false;
        }
        return true;
    }

private:
    DrawingSurface &m_surface;
    float m_edge;
};

} // namespace

void DrawBar(DrawingSurface &surface, const qint32 &barKind)
{
    const ScaleModeScope inTwips(surface, DrawingSurface::Twips);
    const float width = barWidthFor(surface.TwipsPerPixelX());
    const float x = surface.CurrentX();
    const float y = surface.CurrentY();
    const float top = barKind == FullBar ? y : y + HalfBarTop;
    surface.Line(x, top, x + width, y + FullBarHeight);
    surface.setCurrentX(x + BarPitch);
    surface.setCurrentY(y);
}

std::optional<int> checkDigit(QStringView text)
{
    // Wide enough for any text a QString can hold.
    qint64 digitSum = 0;
    bool anyDigit = false;
    for (QChar c : text) {
        if (isDigit(c)) {
            digitSum += digitValue(c);
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return static_cast<int>((10 - digitSum % 10) % 10);
}

void DrawPostNet(QString text, DrawingSurface &surface)
{
    const QStringView digits = withoutOuterSpaces(text);
    const std::optional<int> check = checkDigit(digits);
    if (!check)
        return;

    VisibleBars bars(surface);
    if (!bars.draw(FullBar))
        return;
    for (QChar c : digits) {
        if (isDigit(c) && !bars.drawDigit(digitValue(c)))
            return;
    }
    if (bars.drawDigit(*check))
        bars.draw(FullBar);
}

} // namespace basPostNet
