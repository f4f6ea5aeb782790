#pragma once

#include "addresslist.h"

// vCard 2.1, 3.0 and 4.0 files of one card or many: one envelope per card with a postal
// address (ADR); a card without one is skipped; a card left open makes the list unusable.
namespace VCardReader {
[[nodiscard]] AddressList read(const QByteArray &bytes);
} // namespace VCardReader
