#pragma once

#include <QString>
#include <QStringView>

// The digits of the last run of digits and dashes in a recipient address, in
// their order and without the dashes. Empty when that run holds no digit.
[[nodiscard]] QString extractZipDigits(QStringView recipientText);
