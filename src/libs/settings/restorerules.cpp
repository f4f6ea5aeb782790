#include "restorerules.h"

#include "blanks.h"
#include "linereader.h"
#include "numericvalue.h"
#include "textcodec.h"

#include <algorithm>

namespace {

constexpr int DefaultFontSize = 1; // "Medium"
constexpr int DefaultEnvelopeSize = 1;

// The first line alone is decoded: a CR or LF byte is never part of a longer
// character, so the first one ends the line whatever the bytes before it.
QString decodedFirstLine(const QByteArray &bytes)
{
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    return TextCodec::decode(
        QByteArrayView(bytes.cbegin(), std::find_if(bytes.cbegin(), bytes.cend(), isBreak)));
}

// A line or field that cannot be read (empty file) leaves the value empty.
QString firstLineOf(const QByteArray &bytes)
{
    return LineReader::firstLine(decodedFirstLine(bytes)).value_or(QString());
}

QString firstFieldOf(const QByteArray &bytes)
{
    return LineReader::firstField(decodedFirstLine(bytes)).value_or(QString());
}

bool isAllBlanks(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isBlank);
}

bool isExactlyOne(const SettingsFileState &file)
{
    return file && NumericValue::of(firstFieldOf(*file)) == 1.0;
}

} // namespace

namespace RestoreRules {

std::optional<int> fontSize(const SettingsFileState &file)
{
    if (!file)
        return DefaultFontSize;
    const QString line = firstLineOf(*file);
    if (isAllBlanks(line))
        return DefaultFontSize;
    return NumericValue::roundedIndex(NumericValue::of(line), 0, 2);
}

std::optional<QString> logoPath(const SettingsFileState &file)
{
    if (!file)
        return std::nullopt;
    const QStringList lines = LineReader::lines(TextCodec::decode(*file));
    if (lines.isEmpty() || isAllBlanks(lines.last()))
        return std::nullopt;
    return lines.last();
}

Margin margin(const SettingsFileState &file)
{
    if (!file)
        return {};
    const double inches = NumericValue::of(firstLineOf(*file));
    return {inches, NumericValue::roundedIndex(inches, 0, 5)};
}

bool printLogo(const SettingsFileState &file)
{
    return isExactlyOne(file);
}

bool printPostNet(const SettingsFileState &file)
{
    return isExactlyOne(file);
}

std::optional<FeedSide> feedSide(const SettingsFileState &file)
{
    if (!file)
        return FeedSide::Right; // "Select &Right Side", as a fresh start selects
    return FeedSides::fromStoredWord(firstFieldOf(*file));
}

QString returnAddress(const SettingsFileState &file)
{
    if (!file)
        return {};
    return LineReader::lines(TextCodec::decode(*file)).join(QStringLiteral("\r\n"));
}

std::optional<int> envelopeSize(const SettingsFileState &file)
{
    if (!file)
        return DefaultEnvelopeSize;
    const QString line = firstLineOf(*file);
    for (int index = 0; index <= 2; ++index) {
        if (line == QString::number(index))
            return index;
    }
    return std::nullopt;
}

} // namespace RestoreRules
