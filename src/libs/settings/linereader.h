#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace LineReader {

// Lines as a sequential text read gives them: a line ends at CR LF, CR, LF or
// at the end of the text, and the break is not part of the line. A break at
// the very end starts no further line, so "A\r\n" is one line and "" is none.
[[nodiscard]] QStringList lines(QStringView text);

// The first line, or nothing when the text is empty (reading fails there).
[[nodiscard]] std::optional<QString> firstLine(QStringView text);

// The first field: leading blanks skipped; a value in double quotes without
// its quotes; otherwise up to the first comma or the end of the line.
// Nothing when the text is empty.
[[nodiscard]] std::optional<QString> firstField(QStringView text);

} // namespace LineReader
