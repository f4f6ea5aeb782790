// Any text, pen, unit, pixel size: ZIP = digits of the last digit/dash run; bars frame it.
#include "fuzzsupport.h"

#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "recordingsurface.h"
#include "settings/textcodec.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

// A digit's five bars, f full and h half: the two full ones' weights (7 4 2 1 0) add up to it.
constexpr QStringView DigitBars = u"ffhhhhhhffhhfhfhhffhhfhhfhfhfhhffhhfhhhffhhfhfhfhh";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int unit
        = Fuzz::take<quint8>(input) & 1 ? DrawingSurface::Centimeters : DrawingSurface::Twips;
    RecordingSurface surface(Fuzz::take<float>(input)); // any bit pattern: NaN, 0, huge
    const float x = Fuzz::take<quint16>(input), y = Fuzz::take<quint16>(input);
    const QString text = TextCodec::decode(input);
    const auto digitsOf = [](QString part) { return part.remove(QRegularExpression(u"[^0-9]"_s)); };

    // Matched over the whole text: from inside a surrogate pair it would see broken UTF-16.
    static const QRegularExpression lastRun(u"([0-9-]+)[^0-9-]*$"_s);
    const QRegularExpressionMatch run = lastRun.match(text);
    FUZZ_CHECK(extractZipDigits(text) == digitsOf(run.captured(1))
        && holdsZipCharacter(text) == run.hasMatch());

    QString expected;
    int sum = 0;
    for (const QChar digit : digitsOf(text)) {
        expected += DigitBars.mid(5 * digit.digitValue(), 5);
        sum += digit.digitValue();
    }
    if (!expected.isEmpty())
        expected = u'f' + expected + DigitBars.mid(5 * ((10 - sum % 10) % 10), 5).toString() + u'f';
    surface.setCurrentX(x);
    surface.setCurrentY(y);
    surface.setScaleMode(unit);
    basPostNet::DrawPostNet(text, surface);
    FUZZ_CHECK(surface.ScaleMode() == unit);
    QString drawn;
    for (const RecordingSurface::Box &bar : surface.boxes()) {
        FUZZ_CHECK(bar.scaleMode == DrawingSurface::Twips && bar.x1 == x + 67.0f * drawn.size());
        FUZZ_CHECK(bar.x2 - bar.x1 >= 15 && bar.x2 - bar.x1 <= 24 && bar.y2 == y + 190);
        drawn += bar.y1 == y ? u'f' : bar.y1 == y + 120 ? u'h' : u'?';
    }
    FUZZ_CHECK(drawn == expected);
    surface.setScaleMode(DrawingSurface::Twips);
    FUZZ_CHECK(surface.CurrentX() == x + 67.0f * drawn.size() && surface.CurrentY() == y);
    return 0;
}
