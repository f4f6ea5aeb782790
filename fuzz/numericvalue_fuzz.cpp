// Numbers read from settings files: any text has a numeric value (never NaN,
// blanks anywhere make no difference), halves round to the even neighbour for
// every double, and a rounded index is always inside the range asked for.
#include "fuzzsupport.h"

#include "settings/numberforms.h"
#include "settings/numericvalue.h"
#include "settings/textcodec.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

// Whole numbers a double holds exactly.
constexpr qint64 ExactLimit = qint64(1) << 53;

QString withoutBlanks(const QString &text)
{
    QString result = text;
    result.remove(u' ');
    result.remove(u'\t');
    return result;
}

bool hasDigit(const QString &text)
{
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            return true;
    }
    return false;
}

void checkRounding(double value)
{
    const double rounded = NumericValue::roundHalfEven(value);
    if (std::isnan(value)) {
        FUZZ_CHECK(std::isnan(rounded));
        return;
    }
    // The floating-point unit's own rounding is to nearest, ties to even.
    FUZZ_CHECK(rounded == std::nearbyint(value));
}

void checkIndex(double value, int first, int last)
{
    const std::optional<int> index = NumericValue::roundedIndex(value, first, last);
    const double rounded = std::nearbyint(value);
    const bool inside = !std::isnan(value) && rounded >= first && rounded <= last;
    FUZZ_CHECK(index.has_value() == inside);
    if (index)
        FUZZ_CHECK(*index >= first && *index <= last && *index == rounded);
}

void checkText(const QString &text)
{
    const double value = NumericValue::of(text);
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(NumericValue::of(withoutBlanks(text)) == value);
    if (!hasDigit(text))
        FUZZ_CHECK(value == 0);
}

void checkWrittenForms(qint64 whole)
{
    if (whole <= -ExactLimit || whole >= ExactLimit)
        return;
    const auto exact = static_cast<double>(whole);
    FUZZ_CHECK(NumericValue::of(NumberForms::numberForm(whole)) == exact);
    FUZZ_CHECK(NumericValue::of(NumberForms::signSlotForm(whole)) == exact);
    FUZZ_CHECK(NumericValue::of(NumberForms::bareForm(whole)) == exact);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::fesetround(FE_TONEAREST);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::InputReader reader(data, size);
    const auto rawValue = reader.take<double>();
    const auto first = reader.take<qint16>();
    const auto last = reader.take<qint16>();
    const auto whole = reader.take<qint64>();

    checkRounding(rawValue);
    checkIndex(rawValue, first, last);
    checkWrittenForms(whole);

    const QString text = TextCodec::decode(Fuzz::bytesOf(data, size));
    checkText(text);
    const double value = NumericValue::of(text);
    checkRounding(value);
    checkIndex(value, first, last);
    checkIndex(value, 0, 5);
    return 0;
}
