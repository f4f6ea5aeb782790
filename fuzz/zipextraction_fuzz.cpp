// Any recipient text into the ZIP extraction: the result is the digits of the
// last run of digits and dashes, and text after it without either changes nothing.
#include "fuzzsupport.h"

#include "logic/zipextraction.h"
#include "settings/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = TextCodec::decode(Fuzz::bytesOf(data, size));
    const auto isZipCharacter
        = [&text](qsizetype i) { return (text[i] >= u'0' && text[i] <= u'9') || text[i] == u'-'; };
    qsizetype end = text.size();
    while (end > 0 && !isZipCharacter(end - 1))
        --end;
    qsizetype start = end;
    while (start > 0 && isZipCharacter(start - 1))
        --start;

    const QString zip = extractZipDigits(text);
    FUZZ_CHECK(zip == Fuzz::digitsOf(QStringView(text).mid(start, end - start)));
    FUZZ_CHECK(extractZipDigits(text + QStringLiteral(" USA\r\n")) == zip);
    FUZZ_CHECK(holdsZipCharacter(text) == (end > 0));
    return 0;
}
