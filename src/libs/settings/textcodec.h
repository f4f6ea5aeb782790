#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text on disk is in the locale's 8-bit encoding (UTF-8 here). Files written
// by older 8-bit programs are Windows-1252: bytes that are not valid UTF-8 are
// read that way so their accents survive.
namespace TextCodec {
[[nodiscard]] QString decode(QByteArrayView bytes);
[[nodiscard]] QByteArray encode(const QString &text);
} // namespace TextCodec
