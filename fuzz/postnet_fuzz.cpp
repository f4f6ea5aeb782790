// Any text on a recording surface, at any pen position, unit, device pixel
// size and on screen or printer: the bar code has 5 × (digits + 1) + 2 bars or
// none, every bar stands on the 67-twip pitch, is 15 to 24 twips wide and
// full (190) or half (70) tall on a common bottom line, and the bars read back
// as the text's digits and a check digit that makes the sum a multiple of 10.
#include "fuzzsupport.h"

#include "logic/postnet.h"
#include "recordingsurface.h"
#include "settings/textcodec.h"

#include <array>
#include <cmath>

namespace {

constexpr float Pitch = 67.0f;
constexpr float FullHeight = 190.0f;
constexpr float HalfHeight = 70.0f;
constexpr float MinWidth = 15.0f;
constexpr float MaxWidth = 24.0f;
constexpr std::array<int, 5> Weights {7, 4, 2, 1, 0};

struct Setup
{
    bool centimetres = false; // the unit the caller left the surface in
    float twipsPerPixel = 15.0f;
    float x = 0; // pen, whole twips
    float y = 0;
};

Setup setupFrom(Fuzz::InputReader &reader)
{
    Setup setup;
    const auto flags = reader.take<quint8>();
    setup.centimetres = flags & 1;
    setup.twipsPerPixel = reader.take<float>(); // any bit pattern: NaN, 0, huge
    setup.x = reader.take<quint16>();
    setup.y = reader.take<quint16>();
    return setup;
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    }
    return digits;
}

bool isFull(const RecordingSurface::Box &bar, const Setup &setup)
{
    return bar.y1 == setup.y;
}

void checkBar(const RecordingSurface::Box &bar, qsizetype index, const Setup &setup)
{
    FUZZ_CHECK(bar.scaleMode == DrawingSurface::Twips);
    FUZZ_CHECK(bar.x1 == setup.x + Pitch * static_cast<float>(index));
    const float width = bar.x2 - bar.x1;
    FUZZ_CHECK(width >= MinWidth && width <= MaxWidth);
    FUZZ_CHECK(bar.y2 == setup.y + FullHeight);
    const float height = bar.y2 - bar.y1;
    FUZZ_CHECK(height == FullHeight || height == HalfHeight);
}

// The digit a group of five bars stands for: the weights of its two full bars
// add up to it, and 7 + 4 stands for 0.
int digitOf(const QList<RecordingSurface::Box> &bars, qsizetype first, const Setup &setup)
{
    int sum = 0;
    int fullBars = 0;
    for (qsizetype i = 0; i < 5; ++i) {
        if (isFull(bars.at(first + i), setup)) {
            sum += Weights[static_cast<size_t>(i)];
            ++fullBars;
        }
    }
    FUZZ_CHECK(fullBars == 2);
    return sum == 11 ? 0 : sum;
}

void checkCode(const QList<RecordingSurface::Box> &bars, const QString &digits, const Setup &setup)
{
    FUZZ_CHECK(bars.size() == 5 * (digits.size() + 1) + 2);
    for (qsizetype i = 0; i < bars.size(); ++i)
        checkBar(bars.at(i), i, setup);
    FUZZ_CHECK(isFull(bars.first(), setup) && isFull(bars.last(), setup));

    int sum = 0;
    for (qsizetype digit = 0; digit <= digits.size(); ++digit) {
        const int read = digitOf(bars, 1 + 5 * digit, setup);
        if (digit < digits.size())
            FUZZ_CHECK(read == digits.at(digit).unicode() - u'0');
        sum += read;
    }
    FUZZ_CHECK(sum % 10 == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::InputReader reader(data, size);
    const Setup setup = setupFrom(reader);
    const QString text = TextCodec::decode(reader.rest());

    RecordingSurface surface(setup.twipsPerPixel);
    surface.setCurrentX(setup.x);
    surface.setCurrentY(setup.y);
    const int unit = setup.centimetres ? DrawingSurface::Centimeters : DrawingSurface::Twips;
    surface.setScaleMode(unit);
    const float penX = surface.CurrentX();
    const float penY = surface.CurrentY();

    basPostNet::DrawPostNet(text, surface);

    const QString digits = digitsOf(text);
    const QList<RecordingSurface::Box> &bars = surface.boxes();
    FUZZ_CHECK(surface.ScaleMode() == unit);
    FUZZ_CHECK(surface.CurrentY() == penY);
    if (digits.isEmpty()) {
        FUZZ_CHECK(bars.isEmpty());
        FUZZ_CHECK(surface.CurrentX() == penX);
        return 0;
    }
    checkCode(bars, digits, setup);
    surface.setScaleMode(DrawingSurface::Twips);
    FUZZ_CHECK(surface.CurrentX() == setup.x + Pitch * static_cast<float>(bars.size()));
    return 0;
}
