#include "linereader.h"

#include "blanks.h"

#include <algorithm>

namespace {

constexpr QChar CarriageReturn = u'\r';
constexpr QChar LineFeed = u'\n';
constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';

// Where the line starting at `from` ends (the index of its CR or LF, or the size).
// Files written by Linux editors end their lines with LF alone.
qsizetype lineEnd(QStringView text, qsizetype from)
{
    const auto isBreak = [](QChar c) { return c == CarriageReturn || c == LineFeed; };
    return std::find_if(text.begin() + from, text.end(), isBreak) - text.begin();
}

// Where the line after the one ending at `end` starts: past CR LF, CR or LF.
qsizetype nextLineStart(QStringView text, qsizetype end)
{
    if (end >= text.size())
        return text.size();
    const qsizetype afterBreak = end + 1;
    if (text[end] == CarriageReturn && afterBreak < text.size() && text[afterBreak] == LineFeed)
        return afterBreak + 1;
    return afterBreak;
}

qsizetype skipBlanks(QStringView text, qsizetype from)
{
    while (from < text.size() && isBlank(text[from]))
        ++from;
    return from;
}

} // namespace

namespace LineReader {

QStringList lines(QStringView text)
{
    QStringList result;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = lineEnd(text, start);
        result.append(text.mid(start, end - start).toString());
        start = nextLineStart(text, end);
    }
    return result;
}

std::optional<QString> firstLine(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text.left(lineEnd(text, 0)).toString();
}

std::optional<QString> firstField(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QStringView line = text.left(lineEnd(text, 0));
    const qsizetype start = skipBlanks(line, 0);
    if (start < line.size() && line[start] == Quote) {
        const QStringView quoted = line.mid(start + 1);
        const qsizetype closing = quoted.indexOf(Quote);
        return (closing < 0 ? quoted : quoted.left(closing)).toString();
    }
    const QStringView rest = line.mid(start);
    const qsizetype comma = rest.indexOf(Comma);
    return (comma < 0 ? rest : rest.left(comma)).toString();
}

} // namespace LineReader
