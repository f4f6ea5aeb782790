#include "textcodec.h"

#include <array>

namespace {

// Windows-1252 at 0x80-0x9F; the five bytes it leaves undefined keep their
// own code points, as Latin-1 would give them. 0xA0-0xFF are Latin-1.
constexpr std::array<char16_t, 32> Windows1252High {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

char16_t fromWindows1252(uchar byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return Windows1252High[byte - 0x80];
    return byte;
}

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

struct Utf8Sequence
{
    qsizetype length = 0; // 0: no valid sequence starts here
    char32_t codePoint = 0;
};

// The strict UTF-8 sequence starting at `at`, which is before `end`: no
// overlong forms, no surrogates, nothing above U+10FFFF.
Utf8Sequence utf8SequenceAt(const uchar *at, const uchar *end)
{
    const uchar lead = at[0];
    if (lead < 0x80)
        return {1, lead};

    qsizetype length = 0;
    char32_t codePoint = 0;
    uchar secondMin = 0x80;
    uchar secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            secondMin = 0xA0;
        if (lead == 0xED)
            secondMax = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            secondMin = 0x90;
        if (lead == 0xF4)
            secondMax = 0x8F;
    } else {
        return {};
    }
    if (length > end - at)
        return {};
    if (at[1] < secondMin || at[1] > secondMax)
        return {};
    for (qsizetype i = 1; i < length; ++i) {
        if (!isContinuation(at[i]))
            return {};
        codePoint = (codePoint << 6) | (at[i] & 0x3F);
    }
    return {length, codePoint};
}

} // namespace

namespace TextCodec {

QString decode(QByteArrayView bytes)
{
    // Text that is valid UTF-8 throughout, the usual case, goes through Qt's decoder at its
    // speed: its rules of validity are these, but it drops a byte order mark at the start.
    if (!bytes.startsWith("\xEF\xBB\xBF") && bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    // No more characters than bytes: a four-byte sequence gives two.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *at = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = at + bytes.size();
    while (at < end) {
        const Utf8Sequence sequence = utf8SequenceAt(at, end);
        if (sequence.length == 0) {
            *out++ = fromWindows1252(*at);
            ++at;
            continue;
        }
        const char32_t codePoint = sequence.codePoint;
        if (QChar::requiresSurrogates(codePoint)) {
            *out++ = QChar::highSurrogate(codePoint);
            *out++ = QChar::lowSurrogate(codePoint);
        } else {
            *out++ = static_cast<char16_t>(codePoint);
        }
        at += sequence.length;
    }
    text.truncate(out - reinterpret_cast<const char16_t *>(text.constData()));
    return text;
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype at = 0; at < bytes.size(); ++at)
        text[at] = QChar(fromWindows1252(static_cast<uchar>(bytes[at])));
    return text;
}

QByteArray encode(const QString &text)
{
    return text.toUtf8();
}

} // namespace TextCodec
