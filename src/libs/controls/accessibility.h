#pragma once

#include <QString>

struct Form1Controls;

// What a screen reader is told about the window's controls.
namespace Accessibility {

// Names every control in the words a user would use, ties the font-size label
// to its list, keeps the hidden preview carrier out of the accessible tree and
// exposes the clickable pictures as buttons that can be pressed.
void describe(const Form1Controls &controls);

// The bar-code preview's description for the digits it shows.
[[nodiscard]] QString previewDescription(const QString &zipDigits);

} // namespace Accessibility
