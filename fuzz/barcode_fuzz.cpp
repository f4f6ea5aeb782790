// Any text, pen, unit, pixel size: ZIP = digits of the last digit/dash run; bars frame it.
#include "fuzzsupport.h"

#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "settings/textcodec.h"

#include <algorithm>

// A digit's five bars, f full and h half: the two full ones' weights (7 4 2 1 0) add up to it.
constexpr QStringView DigitBars = u"ffhhhhhhffhhfhfhhffhhfhhfhfhfhhffhhfhhhffhhfhfhfhh";

// Unbounded and logging nothing: checks each bar as drawn (pen from x, y twips), keeps f, h or ?.
struct BarSurface : DrawingSurface
{
    float pixel = 0, x = 0, y = 0;
    QString drawn;
    float ScaleWidth() const override { return qInf(); }
    float TwipsPerPixelX() const override { return pixel; }
    void Line(float x1, float y1, float x2, float y2) override
    {
        FUZZ_CHECK(ScaleMode() == Twips && x1 == x + 67.0f * drawn.size() && y2 == y + 190
            && x2 - x1 >= 15 && x2 - x1 <= 24);
        drawn += y1 == y ? u'f' : y1 == y + 120 ? u'h' : u'?';
    }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int unit
        = Fuzz::take<quint8>(input) & 1 ? DrawingSurface::Centimeters : DrawingSurface::Twips;
    BarSurface bars;
    bars.pixel = Fuzz::take<float>(input); // any bit pattern: NaN, 0, huge
    bars.setCurrentX(bars.x = Fuzz::take<quint16>(input));
    bars.setCurrentY(bars.y = Fuzz::take<quint16>(input));
    const QString text = TextCodec::decode(input);

    // The last run of digits and dashes: back from the end to it, then on back to its start.
    const auto inRun = [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; };
    const auto runEnd = std::find_if(text.rbegin(), text.rend(), inRun);
    const auto runStart = std::find_if_not(runEnd, text.rend(), inRun);
    const QString zip = QStringView(runStart.base(), runEnd.base()).toString().remove(u'-');
    FUZZ_CHECK(extractZipDigits(text) == zip && holdsZipCharacter(text) == (runEnd != text.rend()));

    QString expected, digits = text;
    int sum = 0;
    for (const QChar digit : digits.removeIf([](QChar c) { return c < u'0' || c > u'9'; })) {
        expected += DigitBars.mid(5 * digit.digitValue(), 5);
        sum += digit.digitValue();
    }
    if (!expected.isEmpty())
        expected = u'f' + expected + DigitBars.mid(5 * ((10 - sum % 10) % 10), 5).toString() + u'f';
    bars.setScaleMode(unit);
    basPostNet::DrawPostNet(text, bars);
    FUZZ_CHECK(bars.ScaleMode() == unit && bars.drawn == expected);
    bars.setScaleMode(DrawingSurface::Twips);
    FUZZ_CHECK(bars.CurrentX() == bars.x + 67.0f * expected.size() && bars.CurrentY() == bars.y);
    return 0;
}
