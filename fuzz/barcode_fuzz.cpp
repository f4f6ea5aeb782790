// Any recipient text, pen, unit and pixel size: the ZIP code is the digits of
// the last run of digits and dashes; the bar code has 5 × (digits + 1) + 2 bars
// or none, on the pitch, within the bar, and adds up to a multiple of 10.
#include "fuzzsupport.h"

#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "recordingsurface.h"
#include "settings/textcodec.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int unit
        = Fuzz::take<quint8>(input) & 1 ? DrawingSurface::Centimeters : DrawingSurface::Twips;
    RecordingSurface surface(Fuzz::take<float>(input)); // any bit pattern: NaN, 0, huge
    const float x = Fuzz::take<quint16>(input);
    const float y = Fuzz::take<quint16>(input);
    const QString text = TextCodec::decode(input);
    const auto digitsOf = [](QString part) { return part.remove(QRegularExpression(u"[^0-9]"_s)); };

    // Matched over the whole text, never from an offset inside a surrogate
    // pair (where the expression would see broken UTF-16 and match nothing).
    static const QRegularExpression lastRun(u"([0-9-]+)[^0-9-]*$"_s);
    const QRegularExpressionMatch run = lastRun.match(text);
    const QString zip = extractZipDigits(text);
    FUZZ_CHECK(zip == digitsOf(run.captured(1)) && holdsZipCharacter(text) == run.hasMatch());
    FUZZ_CHECK(extractZipDigits(text + u" USA\r\n"_s) == zip);

    const QString digits = digitsOf(text);
    surface.setCurrentX(x);
    surface.setCurrentY(y);
    surface.setScaleMode(unit);
    const float penY = surface.CurrentY();
    basPostNet::DrawPostNet(text, surface);
    const QList<RecordingSurface::Box> &bars = surface.boxes();
    FUZZ_CHECK(surface.ScaleMode() == unit && surface.CurrentY() == penY);
    FUZZ_CHECK(bars.size() == (digits.isEmpty() ? 0 : 5 * (digits.size() + 1) + 2));
    // Each group of five holds two full bars whose weights add up to its digit,
    // with 7 + 4 standing for 0.
    constexpr int Weights[] = {7, 4, 2, 1, 0};
    int sum = 0;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const RecordingSurface::Box &bar = bars.at(i);
        FUZZ_CHECK(bar.scaleMode == DrawingSurface::Twips && bar.x1 == x + 67.0f * float(i));
        FUZZ_CHECK(bar.x2 - bar.x1 >= 15 && bar.x2 - bar.x1 <= 24 && bar.y2 == y + 190);
        FUZZ_CHECK(bar.y1 == y || (bar.y1 == y + 120 && i > 0 && i < bars.size() - 1));
        if (i % 5 == 0 && i > 0) { // the end of a group
            int value = 0, full = 0;
            for (int k = 0; k < 5; ++k) {
                value += bars.at(i - 4 + k).y1 == y ? Weights[k] : 0;
                full += bars.at(i - 4 + k).y1 == y;
            }
            const qsizetype digit = i / 5 - 1;
            FUZZ_CHECK(full == 2
                && (digit == digits.size() || value % 11 == digits.at(digit).digitValue()));
            sum += value % 11;
        }
    }
    FUZZ_CHECK(sum % 10 == 0);
    surface.setScaleMode(DrawingSurface::Twips);
    FUZZ_CHECK(surface.CurrentX() == x + 67.0f * float(bars.size()));
    return 0;
}
