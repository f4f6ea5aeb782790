#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text on disk is in the locale's 8-bit encoding (UTF-8 here). Files written
// by older 8-bit programs are Windows-1252: bytes that are not valid UTF-8 are
// read that way so their accents survive.
namespace TextCodec {
[[nodiscard]] QString decode(QByteArrayView bytes);
// Every byte as Windows-1252, for text that says it is in that encoding (or in
// Latin-1, which files labelled so almost always mean).
[[nodiscard]] QString decodeWindows1252(QByteArrayView bytes);
[[nodiscard]] QByteArray encode(const QString &text);
} // namespace TextCodec
