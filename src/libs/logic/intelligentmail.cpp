#include "intelligentmail.h"

#include <QList>
#include <QtAlgorithms>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace IntelligentMail {

namespace {

constexpr qsizetype TrackingCodeLength = 20;
constexpr qsizetype MailerIdAndSerialLength = 15;
constexpr int BinaryDataBits = 102;
constexpr int CodewordCount = 10;
constexpr quint32 LastCodewordBase = 636;
constexpr quint32 CodewordBase = 1365;
constexpr quint32 FcsFlagInFirstCodeword = 659;
constexpr quint16 FcsGenerator = 0x0F35;
constexpr quint16 ElevenBits = 0x07FF;
constexpr int CharacterBits = 13;
constexpr quint16 ThirteenBits = 0x1FFF;
constexpr int FiveOf13Count = 1287;
constexpr int TwoOf13Count = 78;
constexpr int BarCount = 65;

constexpr float NominalBarWidth = 28.8f; // 0.020 in
constexpr float MinBarWidth = 21.6f; // 0.015 in
constexpr float MaxBarWidth = 36.0f; // 0.025 in

[[nodiscard]] bool isDigits(QStringView text, qsizetype length)
{
    return text.size() == length
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

[[nodiscard]] quint32 digitValue(QChar digit)
{
    return digit.unicode() - u'0';
}

[[nodiscard]] qsizetype serialWidthFor(QStringView mailerId)
{
    return mailerId.startsWith(u'9') ? 6 : 9;
}

// How many serials there are from the first one up to the largest of its width.
[[nodiscard]] quint64 serialsFrom(QStringView firstSerial)
{
    quint64 limit = 1;
    for (qsizetype digit = 0; digit < firstSerial.size(); ++digit)
        limit *= 10;
    return limit - firstSerial.toULongLong();
}

// An unsigned whole number of 128 bits: room for the 102 bits of binary data.
class BinaryData
{
public:
    explicit BinaryData(quint64 value)
        : m_words {0, 0, quint32(value >> 32), quint32(value)}
    { }

    void multiplyAdd(quint32 factor, quint32 addend)
    {
        quint64 carry = addend;
        for (auto word = m_words.rbegin(); word != m_words.rend(); ++word) {
            carry += quint64(*word) * factor;
            *word = quint32(carry);
            carry >>= 32;
        }
    }

    // Divides in place and gives the remainder.
    quint32 divide(quint32 divisor)
    {
        quint64 remainder = 0;
        for (quint32 &word : m_words) {
            const quint64 dividend = remainder << 32 | word;
            word = quint32(dividend / divisor);
            remainder = dividend % divisor;
        }
        return quint32(remainder);
    }

    [[nodiscard]] bool bit(int index) const { return m_words[3 - index / 32] >> index % 32 & 1; }
    [[nodiscard]] quint32 lowWord() const { return m_words[3]; }

private:
    std::array<quint32, 4> m_words; // most significant first
};

// Each length of routing code starts past the values of the shorter ones, so
// that "01234" and "000001234" stay apart.
[[nodiscard]] quint64 routingValue(QStringView routingCode)
{
    quint64 value = routingCode.toULongLong();
    if (routingCode.size() >= 5)
        value += 1;
    if (routingCode.size() >= 9)
        value += 100000;
    if (routingCode.size() >= 11)
        value += 1000000000;
    return value;
}

[[nodiscard]] BinaryData binaryData(QStringView trackingCode, QStringView routingCode)
{
    BinaryData data(routingValue(routingCode));
    data.multiplyAdd(10, digitValue(trackingCode[0]));
    data.multiplyAdd(5, digitValue(trackingCode[1]));
    for (QChar digit : trackingCode.mid(2))
        data.multiplyAdd(10, digitValue(digit));
    return data;
}

// USPS-B-3200's 11-bit CRC, over the 102 bits from the most significant down.
[[nodiscard]] quint16 frameCheckSequence(const BinaryData &data)
{
    quint16 fcs = ElevenBits;
    for (int bit = BinaryDataBits - 1; bit >= 0; --bit) {
        const bool feedback = (fcs >> 10 & 1) != data.bit(bit);
        fcs = quint16((fcs << 1 ^ (feedback ? FcsGenerator : 0)) & ElevenBits);
    }
    return fcs;
}

// A to J. J is doubled so that an even J tells a reader which way up the
// bars are; A carries the FCS's top bit.
[[nodiscard]] std::array<quint32, CodewordCount> codewords(BinaryData data, quint16 fcs)
{
    std::array<quint32, CodewordCount> words {};
    words[9] = data.divide(LastCodewordBase) * 2;
    for (int word = 8; word >= 1; --word)
        words[word] = data.divide(CodewordBase);
    words[0] = data.lowWord() + (fcs >> 10 & 1 ? FcsFlagInFirstCodeword : 0);
    return words;
}

[[nodiscard]] quint16 reversed13(quint16 code)
{
    quint16 reversed = 0;
    for (int bit = 0; bit < CharacterBits; ++bit)
        reversed = quint16(reversed << 1 | (code >> bit & 1));
    return reversed;
}

// USPS-B-3200's table of the 13-bit characters with `ones` bits set: from the
// front each with its bit-reverse next to it, from the back those that are
// their own reverse.
void fillNOf13(quint16 *table, uint ones, int size)
{
    int front = 0;
    int back = size - 1;
    for (quint16 code = 0; code < 1 << CharacterBits; ++code) {
        const quint16 reversed = reversed13(code);
        if (qPopulationCount(code) != ones || reversed < code)
            continue;
        if (reversed == code) {
            table[back--] = code;
        } else {
            table[front++] = code;
            table[front++] = reversed;
        }
    }
}

// Codewords below 1287 index the 5-of-13 characters, the rest the 2-of-13 ones.
[[nodiscard]] const std::array<quint16, FiveOf13Count + TwoOf13Count> &characterTable()
{
    static const auto table = [] {
        std::array<quint16, FiveOf13Count + TwoOf13Count> characters {};
        fillNOf13(characters.data(), 5, FiveOf13Count);
        fillNOf13(characters.data() + FiveOf13Count, 2, TwoOf13Count);
        return characters;
    }();
    return table;
}

// Character i is inverted where FCS bit i is set.
[[nodiscard]] std::array<quint16, CodewordCount> characters(
    const std::array<quint32, CodewordCount> &words, quint16 fcs)
{
    std::array<quint16, CodewordCount> result {};
    for (int i = 0; i < CodewordCount; ++i) {
        const quint16 character = characterTable()[words[i]];
        result[i] = fcs >> i & 1 ? quint16(~character & ThirteenBits) : character;
    }
    return result;
}

enum Character : quint8
{
    A,
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J
};

struct BarSource
{
    Character descender;
    quint8 descenderBit;
    Character ascender;
    quint8 ascenderBit;
};

// USPS-B-3200's bar table, bars 1 to 65: the character and bit of each one's
// descender, then of its ascender.
constexpr std::array<BarSource, BarCount> BarSources {{
    {H, 2, E, 3},
    {B, 10, A, 0},
    {J, 12, C, 8},
    {F, 5, G, 11},
    {I, 9, D, 1},
    {A, 1, F, 12},
    {C, 5, B, 8},
    {E, 4, J, 11},
    {G, 3, I, 10},
    {D, 9, H, 6},
    {F, 11, B, 4},
    {I, 5, C, 12},
    {J, 10, A, 2},
    {H, 1, G, 7},
    {D, 6, E, 9},
    {A, 3, I, 6},
    {G, 4, C, 7},
    {B, 1, J, 9},
    {H, 10, F, 2},
    {E, 0, D, 8},
    {G, 2, A, 4},
    {I, 11, B, 0},
    {J, 8, D, 12},
    {C, 6, H, 7},
    {F, 1, E, 10},
    {B, 12, G, 9},
    {H, 3, I, 0},
    {F, 8, J, 7},
    {E, 6, C, 10},
    {D, 4, A, 5},
    {I, 4, F, 7},
    {H, 11, B, 9},
    {G, 0, J, 6},
    {A, 6, E, 8},
    {C, 1, D, 2},
    {F, 9, I, 12},
    {E, 11, G, 1},
    {J, 5, H, 4},
    {D, 3, B, 2},
    {A, 7, C, 0},
    {B, 3, E, 1},
    {G, 10, D, 5},
    {I, 7, J, 4},
    {C, 11, F, 6},
    {A, 8, H, 12},
    {E, 2, I, 1},
    {F, 10, D, 0},
    {J, 3, A, 9},
    {G, 5, C, 4},
    {H, 8, B, 7},
    {F, 0, E, 5},
    {C, 3, A, 10},
    {G, 12, J, 2},
    {D, 11, B, 6},
    {I, 8, H, 9},
    {F, 4, A, 11},
    {B, 5, C, 2},
    {J, 1, E, 12},
    {I, 3, G, 6},
    {H, 0, D, 7},
    {E, 7, H, 5},
    {A, 12, B, 11},
    {C, 9, J, 0},
    {G, 8, F, 3},
    {D, 10, I, 2},
}};

[[nodiscard]] QString barsOf(const std::array<quint16, CodewordCount> &characters)
{
    constexpr char16_t Letters[] = u"TDAF"; // by descender + 2 * ascender
    QString bars(BarCount, u'T');
    for (int bar = 0; bar < BarCount; ++bar) {
        const BarSource &source = BarSources[bar];
        const int descender = characters[source.descender] >> source.descenderBit & 1;
        const int ascender = characters[source.ascender] >> source.ascenderBit & 1;
        bars[bar] = Letters[descender + 2 * ascender];
    }
    return bars;
}

// The largest allowed width that is a whole number of pixels, if any is.
[[nodiscard]] float barWidthFor(float pixelSize)
{
    const float width = std::round(NominalBarWidth / pixelSize) * pixelSize;
    if (std::isnan(width)) // a pixel size of 0 or infinity
        return NominalBarWidth;
    return std::clamp(width, MinBarWidth, MaxBarWidth);
}

// Top and bottom of a bar, down from the top of a full bar.
[[nodiscard]] std::pair<float, float> barSpan(QChar letter)
{
    switch (letter.unicode()) {
    case u'F':
        return {0, FullBarHeight};
    case u'A':
        return {0, TrackerBottom};
    case u'D':
        return {TrackerTop, FullBarHeight};
    default:
        return {TrackerTop, TrackerBottom};
    }
}

} // namespace

QString checkBarcodeId(QStringView barcodeId)
{
    if (isDigits(barcodeId, 2) && barcodeId[1] <= u'4')
        return {};
    return u"Barcode ID \"%1\" must be two digits, the second 0 to 4."_s.arg(barcodeId);
}

QString checkServiceType(QStringView serviceType)
{
    if (isDigits(serviceType, 3))
        return {};
    return u"Service type \"%1\" must be three digits."_s.arg(serviceType);
}

QString checkMailerId(QStringView mailerId)
{
    const bool nineWide = mailerId.startsWith(u'9');
    if (isDigits(mailerId, nineWide ? 9 : 6))
        return {};
    return u"Mailer ID \"%1\" must be six digits starting with 0 to 8, or nine starting with 9."_s
        .arg(mailerId);
}

QString checkSerial(QStringView serial, QStringView mailerId)
{
    const qsizetype width = serialWidthFor(mailerId);
    if (isDigits(serial, width))
        return {};
    return u"Serial \"%1\" must be %2 digits with a %3-digit Mailer ID."_s.arg(serial)
        .arg(width)
        .arg(MailerIdAndSerialLength - width);
}

QString checkRoutingCode(QStringView routingCode)
{
    const qsizetype length = routingCode.size();
    if (isDigits(routingCode, length)
        && (length == 0 || length == 5 || length == 9 || length == 11))
        return {};
    return u"Routing code \"%1\" must be 0, 5, 9 or 11 digits."_s.arg(routingCode);
}

QString checkFields(const Fields &fields)
{
    for (const QString &problem :
        {checkBarcodeId(fields.barcodeId), checkServiceType(fields.serviceType),
            checkMailerId(fields.mailerId), checkSerial(fields.firstSerial, fields.mailerId)}) {
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

ParsedFields parseFields(QStringView commandLine)
{
    const QList<QStringView> parts = commandLine.split(u',');
    if (parts.size() != 4) {
        return {{},
            u"Expected BARCODE_ID,SERVICE_TYPE,MAILER_ID,FIRST_SERIAL, not \"%1\"."_s.arg(
                commandLine)};
    }
    Fields fields {
        parts[0].toString(), parts[1].toString(), parts[2].toString(), parts[3].toString()};
    QString error = checkFields(fields);
    return {std::move(fields), std::move(error)};
}

QString checkSerialRun(const Fields &fields, qint64 envelopeCount)
{
    if (QString problem = checkFields(fields); !problem.isEmpty())
        return problem;
    if (envelopeCount < 0)
        return u"The number of envelopes, %1, must not be negative."_s.arg(envelopeCount);
    const quint64 available = serialsFrom(fields.firstSerial);
    if (quint64(envelopeCount) <= available)
        return {};
    const quint64 first = fields.firstSerial.toULongLong();
    return u"%1 envelopes from serial %2 need serials up to %3, past %4, the largest of %5 digits."_s
        .arg(envelopeCount)
        .arg(fields.firstSerial)
        .arg(first + quint64(envelopeCount) - 1)
        .arg(first + available - 1)
        .arg(fields.firstSerial.size());
}

QString trackingCode(const Fields &fields, qint64 envelope)
{
    if (envelope < 0 || !checkFields(fields).isEmpty()
        || quint64(envelope) >= serialsFrom(fields.firstSerial))
        return {};
    const quint64 serial = fields.firstSerial.toULongLong() + quint64(envelope);
    return fields.barcodeId + fields.serviceType + fields.mailerId
        + QString::number(serial).rightJustified(fields.firstSerial.size(), u'0');
}

Encoding encode(QStringView trackingCode, QStringView routingCode)
{
    if (!isDigits(trackingCode, TrackingCodeLength))
        return {{}, u"Tracking code \"%1\" must be 20 digits."_s.arg(trackingCode)};
    for (const QString &problem :
        {checkBarcodeId(trackingCode.left(2)), checkRoutingCode(routingCode)}) {
        if (!problem.isEmpty())
            return {{}, problem};
    }
    const BinaryData data = binaryData(trackingCode, routingCode);
    const quint16 fcs = frameCheckSequence(data);
    return {barsOf(characters(codewords(data, fcs), fcs)), {}};
}

float symbolWidth(const DrawingSurface &surface)
{
    return BarPitch * (BarCount - 1) + barWidthFor(surface.TwipsPerPixelX());
}

void drawBars(QStringView bars, DrawingSurface &surface)
{
    const ScaleModeScope inTwips(surface, DrawingSurface::Twips);
    const float width = barWidthFor(surface.TwipsPerPixelX());
    const float left = surface.CurrentX();
    const float top = surface.CurrentY();
    for (qsizetype bar = 0; bar < bars.size(); ++bar) {
        const float x = left + BarPitch * float(bar);
        const auto [from, to] = barSpan(bars[bar]);
        surface.Line(x, top + from, x + width, top + to);
    }
    surface.setCurrentX(left + BarPitch * float(bars.size()));
    surface.setCurrentY(top);
}

} // namespace IntelligentMail
