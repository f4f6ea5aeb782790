#include "numericvalue.h"

#include "blanks.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The number at the start of the text with every blank taken out, as plain
// ASCII ("-12.5"); empty when the text does not begin with a number.
QByteArray leadingNumber(QStringView text)
{
    QByteArray number;
    bool seenSign = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else if ((c == u'-' || c == u'+') && !seenSign && !seenPoint && number.isEmpty()) {
            seenSign = true;
        } else {
            break;
        }
        number.append(static_cast<char>(c.unicode()));
    }
    return seenDigit ? number : QByteArray();
}

// A number out of a double's range: infinite when its whole part has a
// non-zero digit, else too small to tell from 0.
double outOfRange(const QByteArray &number)
{
    const bool negative = number.startsWith('-');
    for (const char c : number) {
        if (c == '.')
            break;
        if (c >= '1' && c <= '9')
            return negative ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
    }
    return negative ? -0.0 : 0.0;
}

} // namespace

namespace NumericValue {

double of(QStringView text)
{
    const QByteArray number = leadingNumber(text);
    if (number.isEmpty())
        return 0;
    // from_chars takes no leading '+'.
    const qsizetype skip = number.startsWith('+') ? 1 : 0;
    const char *first = number.constData() + skip;
    const char *last = number.constData() + number.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range)
        return outOfRange(number);
    if (error != std::errc() || end != last)
        return 0;
    return value;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double rounded = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2 * std::round(value / 2);
    return rounded;
}

std::optional<int> roundedIndex(double value, int first, int last)
{
    const double rounded = roundHalfEven(value);
    if (std::isnan(rounded) || rounded < first || rounded > last)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace NumericValue
