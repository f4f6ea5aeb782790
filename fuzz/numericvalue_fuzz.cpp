// Numbers read from settings files: any text has a numeric value (never NaN,
// blanks anywhere make no difference), halves round to the even neighbour for
// every double, a rounded index is inside the range asked for, and every
// written number form reads back as its value.
#include "fuzzsupport.h"

#include "settings/numberforms.h"
#include "settings/numericvalue.h"
#include "settings/textcodec.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = Fuzz::bytesOf(data, size);
    const auto raw = Fuzz::take<double>(input);
    const int first = Fuzz::take<qint16>(input);
    const int last = Fuzz::take<qint16>(input);
    const auto whole = Fuzz::take<qint64>(input);

    const QString text = TextCodec::decode(Fuzz::bytesOf(data, size));
    const double value = NumericValue::of(text);
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(NumericValue::of(QString(text).remove(u' ').remove(u'\t')) == value);
    if (Fuzz::digitsOf(text).isEmpty())
        FUZZ_CHECK(value == 0);

    for (const double v : {raw, value}) {
        // The floating-point unit's own rounding is to nearest, ties to even.
        const double rounded = std::nearbyint(v);
        const double halfEven = NumericValue::roundHalfEven(v);
        FUZZ_CHECK(halfEven == rounded || (std::isnan(v) && std::isnan(halfEven)));
        const std::optional<int> index = NumericValue::roundedIndex(v, first, last);
        FUZZ_CHECK(index.has_value() == (rounded >= first && rounded <= last));
        FUZZ_CHECK(!index || *index == rounded);
    }

    // Whole numbers a double holds exactly.
    if (whole > -(qint64(1) << 53) && whole < (qint64(1) << 53)) {
        for (const QString &form : {NumberForms::numberForm(whole),
                 NumberForms::signSlotForm(whole), NumberForms::bareForm(whole)})
            FUZZ_CHECK(NumericValue::of(form) == static_cast<double>(whole));
    }
    return 0;
}
