#pragma once

#include "addresslist.h"

// CSV and TSV lists with a header row, as address books export them: one envelope per row
// with an address; a row without one is skipped, a blank row ignored.
namespace CsvReader {
[[nodiscard]] AddressList read(const QByteArray &bytes, const ColumnChoice &columns);
} // namespace CsvReader
