// Any text on a recording surface, at any pen position, unit and device pixel
// size: the bar code has 5 × (digits + 1) + 2 bars or none, every bar stands
// on the 67-twip pitch, is 15 to 24 twips wide and full (190) or half (70)
// tall on a common bottom line, and the bars read back as the text's digits
// and a check digit that makes the sum a multiple of 10.
#include "fuzzsupport.h"

#include "logic/postnet.h"
#include "recordingsurface.h"
#include "settings/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = Fuzz::bytesOf(data, size);
    const int unit
        = Fuzz::take<quint8>(input) & 1 ? DrawingSurface::Centimeters : DrawingSurface::Twips;
    RecordingSurface surface(Fuzz::take<float>(input)); // any bit pattern: NaN, 0, huge
    const float x = Fuzz::take<quint16>(input);
    const float y = Fuzz::take<quint16>(input);
    const QString text = TextCodec::decode(input);
    const QString digits = Fuzz::digitsOf(text);
    surface.setCurrentX(x);
    surface.setCurrentY(y);
    surface.setScaleMode(unit);
    const float penX = surface.CurrentX();
    const float penY = surface.CurrentY();

    basPostNet::DrawPostNet(text, surface);

    const QList<RecordingSurface::Box> &bars = surface.boxes();
    FUZZ_CHECK(surface.ScaleMode() == unit && surface.CurrentY() == penY);
    FUZZ_CHECK(bars.size() == (digits.isEmpty() ? 0 : 5 * (digits.size() + 1) + 2));
    if (digits.isEmpty()) {
        FUZZ_CHECK(surface.CurrentX() == penX);
        return 0;
    }
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const RecordingSurface::Box &bar = bars.at(i);
        FUZZ_CHECK(bar.scaleMode == DrawingSurface::Twips && bar.x1 == x + 67.0f * float(i));
        FUZZ_CHECK(bar.x2 - bar.x1 >= 15 && bar.x2 - bar.x1 <= 24 && bar.y2 == y + 190);
        FUZZ_CHECK(bar.y1 == y || bar.y1 == y + 120);
    }
    FUZZ_CHECK(bars.first().y1 == y && bars.last().y1 == y);
    // Each group of five holds two full bars whose weights add up to its
    // digit, with 7 + 4 standing for 0.
    constexpr int Weights[] = {7, 4, 2, 1, 0};
    int sum = 0;
    for (qsizetype digit = 0; digit <= digits.size(); ++digit) {
        int value = 0;
        int fullBars = 0;
        for (int i = 0; i < 5; ++i) {
            const bool full = bars.at(1 + 5 * digit + i).y1 == y;
            value += full ? Weights[i] : 0;
            fullBars += full;
        }
        FUZZ_CHECK(fullBars == 2);
        value %= 11;
        FUZZ_CHECK(digit == digits.size() || value == digits.at(digit).unicode() - u'0');
        sum += value;
    }
    FUZZ_CHECK(sum % 10 == 0);
    surface.setScaleMode(DrawingSurface::Twips);
    FUZZ_CHECK(surface.CurrentX() == x + 67.0f * float(bars.size()));
    return 0;
}
