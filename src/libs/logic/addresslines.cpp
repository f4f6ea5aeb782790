#include "addresslines.h"

#include "settings/linereader.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool holdsDigit(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void appendIfNotBlank(QStringList &lines, const QString &line)
{
    if (!line.isEmpty())
        lines.append(line);
}

// "City, ST ZIP", "City ZIP", "ST ZIP", "City, ST"...: the comma only between city and state.
QString cityLine(const RecipientParts &parts)
{
    const QString city = parts.city.simplified();
    const QString state = parts.state.simplified();
    const QString zip = parts.zip.simplified();
    QString line = city;
    if (!city.isEmpty() && !state.isEmpty())
        line += u", "_s;
    line += state;
    if (!line.isEmpty() && !zip.isEmpty())
        line += u' ';
    return line + zip;
}

} // namespace

namespace AddressLines {

QStringList compose(const RecipientParts &parts)
{
    QStringList lines;
    const QString name = parts.name.simplified();
    const QString company = parts.company.simplified();
    appendIfNotBlank(lines, name);
    if (company.compare(name, Qt::CaseInsensitive) != 0)
        appendIfNotBlank(lines, company);
    for (const QString &street : parts.streetLines)
        lines += nonBlankLines(street);
    appendIfNotBlank(lines, cityLine(parts));
    // The bar code takes the last run of digits and dashes in the address, which must be the
    // ZIP code: a country with a digit in it is left out rather than have the wrong bars
    // printed, and a dash in one ("Guinea-Bissau") is printed as U+2010 HYPHEN, which looks
    // the same and ends no run.
    const QString country = parts.country.simplified().replace(u'-', QChar(0x2010));
    if (!isUnitedStates(country) && !holdsDigit(country))
        appendIfNotBlank(lines, country);
    return lines;
}

QString displayName(const RecipientParts &parts)
{
    const QString name = parts.name.simplified();
    return name.isEmpty() ? parts.company.simplified() : name;
}

bool hasAddress(const RecipientParts &parts)
{
    const auto blank = [](const QString &part) { return part.trimmed().isEmpty(); };
    return !std::all_of(parts.streetLines.begin(), parts.streetLines.end(), blank)
        || !blank(parts.city) || !blank(parts.state) || !blank(parts.zip);
}

bool isUnitedStates(QStringView country)
{
    QString letters;
    for (const QChar c : country) {
        if (c.isLetter())
            letters += c.toCaseFolded();
    }
    return letters == u"us" || letters == u"usa" || letters == u"unitedstates"
        || letters == u"unitedstatesofamerica";
}

QStringList nonBlankLines(QStringView text)
{
    if (!text.contains(u'\r') && !text.contains(u'\n')) {
        const QString line = text.toString().simplified();
        return line.isEmpty() ? QStringList() : QStringList {line};
    }
    QStringList lines;
    for (const QString &line : LineReader::lines(text))
        appendIfNotBlank(lines, line.simplified());
    return lines;
}

} // namespace AddressLines
