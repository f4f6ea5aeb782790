#pragma once

#include <QStringView>

#include <optional>

namespace NumericValue {

// The number at the start of a text, blanks ignored wherever they stand:
// optional sign, digits, optional fraction. 0 for anything else. Never
// overflows: a number too large for a double is infinite.
[[nodiscard]] double of(QStringView text);

// Nearest whole number, an exact half going to the even neighbour.
[[nodiscard]] double roundHalfEven(double value);

// The rounded value as an index when it lies in [first, last], else nothing.
[[nodiscard]] std::optional<int> roundedIndex(double value, int first, int last);

} // namespace NumericValue
