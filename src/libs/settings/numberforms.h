#pragma once

#include <QString>

// The three ways whole numbers are written to settings files (without the
// CR LF that every write adds).
namespace NumberForms {
// " 1 ", "-1 ": sign slot, digits, one trailing blank.
[[nodiscard]] QString numberForm(qint64 value);
// " 1", "-1": sign slot and digits.
[[nodiscard]] QString signSlotForm(qint64 value);
// "1", "-1": the digits alone.
[[nodiscard]] QString bareForm(qint64 value);
} // namespace NumberForms
