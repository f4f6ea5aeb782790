#pragma once

#include <QString>
#include <QStringView>

// The digits of the last run of digits and dashes in a recipient address, in
// their order and without the dashes. Empty when that run holds no digit.
[[nodiscard]] QString extractZipDigits(QStringView recipientText);

// True when the text holds a digit or a dash. A run never spans a line break,
// so in a text of several lines the run sought lies in the last line for which
// this holds.
[[nodiscard]] bool holdsZipCharacter(QStringView text);
