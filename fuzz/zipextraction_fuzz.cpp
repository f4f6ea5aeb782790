// Any recipient text into the ZIP extraction: the result is digits only, and
// they are the digits of the last run of digits and dashes, so the digits of
// the whole text end with them.
#include "fuzzsupport.h"

#include "logic/zipextraction.h"
#include "settings/textcodec.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isZipCharacter(QChar c)
{
    return isAsciiDigit(c) || c == u'-';
}

QString digitsOf(QStringView text)
{
    QString digits;
    for (const QChar c : text) {
        if (isAsciiDigit(c))
            digits.append(c);
    }
    return digits;
}

// The last run of digits and dashes, found from the front.
QStringView lastZipRun(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && !isZipCharacter(text[end - 1]))
        --end;
    qsizetype start = end;
    while (start > 0 && isZipCharacter(text[start - 1]))
        --start;
    return text.mid(start, end - start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = TextCodec::decode(Fuzz::bytesOf(data, size));
    const QString zip = extractZipDigits(text);

    for (const QChar c : zip)
        FUZZ_CHECK(isAsciiDigit(c));
    FUZZ_CHECK(digitsOf(text).endsWith(zip));
    FUZZ_CHECK(zip == digitsOf(lastZipRun(text)));
    // Text after the ZIP code without digits or dashes changes nothing.
    FUZZ_CHECK(extractZipDigits(text + QStringLiteral(" USA\r\n")) == zip);
    return 0;
}
