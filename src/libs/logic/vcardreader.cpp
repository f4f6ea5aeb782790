#include "vcardreader.h"

#include "addresslines.h"
#include "settings/textcodec.h"

#include <climits>

using namespace Qt::StringLiterals;

namespace {

constexpr int NotPreferred = INT_MAX;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The file's lines one by one (CR LF, CR and LF each end a line), with their 1-based numbers.
class PhysicalLines
{
public:
    explicit PhysicalLines(QByteArrayView bytes)
        : m_bytes(bytes)
    { }

    bool next(QByteArrayView &line)
    {
        if (m_at >= m_bytes.size())
            return false;
        const qsizetype end
            = qMin(nextPlace(m_nextCarriageReturn, '\r'), nextPlace(m_nextLineFeed, '\n'));
        line = m_bytes.sliced(m_at, end - m_at);
        const bool crLf
            = end + 1 < m_bytes.size() && m_bytes[end] == '\r' && m_bytes[end + 1] == '\n';
        m_at = end + (crLf ? 2 : 1);
        ++m_number;
        return true;
    }
    [[nodiscard]] int number() const { return m_number; }

private:
    // The next place of the byte from the scan's place on, searched for again once passed.
    qsizetype nextPlace(qsizetype &place, char sought) const
    {
        if (place < m_at) {
            place = m_bytes.indexOf(sought, m_at);
            if (place < 0)
                place = m_bytes.size();
        }
        return place;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    qsizetype m_nextCarriageReturn = -1;
    qsizetype m_nextLineFeed = -1;
    int m_number = 0;
};

bool isQuotedPrintableLine(const QByteArray &line)
{
    return line.left(line.indexOf(':')).toUpper().contains("QUOTED-PRINTABLE");
}

bool isEndLine(QByteArrayView line)
{
    return line.trimmed().compare("END:VCARD", Qt::CaseInsensitive) == 0;
}

// Logical lines: a line that starts with a space or tab continues the one before (vCard 2.1
// keeps that blank, the later versions drop it), and so does the line after a soft break (a
// '=' at the end) of a quoted-printable value, unless that line ends the card.
class UnfoldedLines
{
public:
    explicit UnfoldedLines(QByteArrayView bytes)
        : m_physical(bytes)
    {
        readAhead();
    }

    bool next(QByteArray &line, int &number)
    {
        if (!m_hasPending)
            return false;
        line.resize(0); // keeps the buffer of the line before
        line.append(m_pending);
        number = m_pendingNumber;
        while (readAhead()) {
            if (!m_pending.isEmpty() && isBlank(m_pending.front())) {
                line.append(m_keepsFoldBlank ? m_pending : m_pending.sliced(1));
            } else if (line.endsWith('=') && isQuotedPrintableLine(line) && !isEndLine(m_pending)) {
                line.chop(1);
                line.append(m_pending);
            } else {
                break;
            }
        }
        return true;
    }
    void setKeepsFoldBlank(bool keeps) { m_keepsFoldBlank = keeps; }

private:
    bool readAhead()
    {
        m_hasPending = m_physical.next(m_pending);
        m_pendingNumber = m_physical.number();
        return m_hasPending;
    }

    PhysicalLines m_physical;
    QByteArrayView m_pending;
    int m_pendingNumber = 0;
    bool m_hasPending = false;
    bool m_keepsFoldBlank = false;
};

bool sameWord(QByteArrayView text, const char *word)
{
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

// A content line taken apart, as views into the line.
struct Property
{
    QByteArrayView name; // without its group ("item1.")
    QByteArrayView parameters; // from the ';' after the name up to the value's ':'
    QByteArrayView value;

    [[nodiscard]] bool is(const char *wanted) const { return sameWord(name, wanted); }
};

// What the parameters say about a value and, for ADR, how much it is preferred.
struct Parameters
{
    int preference = NotPreferred; // PREF=n, or 1 for TYPE=pref and 2.1's bare PREF
    bool home = false;
    bool quotedPrintable = false;
    bool windows1252 = false; // CHARSET= names Latin-1 or Windows-1252
};

// The first `sought` at or after `from` that is not between double quotes, or the size.
qsizetype indexOutsideQuotes(QByteArrayView text, char sought, qsizetype from)
{
    qsizetype found = -1;
    for (;;) {
        if (found < from)
            found = text.indexOf(sought, from);
        const qsizetype quote = text.indexOf('"', from);
        if (found < 0)
            return text.size();
        if (quote < 0 || found < quote)
            return found;
        const qsizetype closing = text.indexOf('"', quote + 1);
        if (closing < 0)
            return text.size();
        from = closing + 1;
    }
}

QByteArrayView unquoted(QByteArrayView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.sliced(1, text.size() - 2);
    return text.trimmed();
}

void takeType(Parameters &parameters, QByteArrayView type)
{
    if (sameWord(type, "HOME"))
        parameters.home = true;
    else if (sameWord(type, "PREF"))
        parameters.preference = qMin(parameters.preference, 1);
    else if (sameWord(type, "QUOTED-PRINTABLE"))
        parameters.quotedPrintable = true;
}

bool namesWindows1252(QByteArrayView charset)
{
    return sameWord(charset, "ISO-8859-1") || sameWord(charset, "ISO8859-1")
        || sameWord(charset, "LATIN1") || sameWord(charset, "LATIN-1")
        || sameWord(charset, "WINDOWS-1252") || sameWord(charset, "CP1252");
}

// TYPE=home,pref; TYPE=HOME;TYPE=PREF; 2.1's bare HOME;PREF; PREF=1; ENCODING=; CHARSET=.
void takeParameter(Parameters &parameters, QByteArrayView parameter)
{
    const qsizetype equals = parameter.indexOf('=');
    const QByteArrayView key = parameter.first(qMax(equals, qsizetype(0))).trimmed();
    const QByteArrayView value = unquoted(parameter.sliced(equals + 1));
    if (equals < 0 || sameWord(key, "ENCODING")) {
        takeType(parameters, value);
    } else if (sameWord(key, "TYPE")) {
        qsizetype start = 0;
        for (qsizetype comma = 0; comma >= 0; start = comma + 1) {
            comma = value.indexOf(',', start);
            takeType(parameters,
                value.sliced(start, (comma < 0 ? value.size() : comma) - start).trimmed());
        }
    } else if (sameWord(key, "PREF")) {
        bool isNumber = false;
        const int rank = value.toInt(&isNumber);
        parameters.preference = qMin(parameters.preference, isNumber ? qMax(rank, 1) : 1);
    } else if (sameWord(key, "CHARSET")) {
        parameters.windows1252 = namesWindows1252(value);
    }
}

Parameters parametersOf(QByteArrayView text)
{
    Parameters parameters;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype start = end + 1;
        end = indexOutsideQuotes(text, ';', start);
        takeParameter(parameters, text.sliced(start, end - start));
    }
    return parameters;
}

Property parseProperty(QByteArrayView line)
{
    Property property;
    const qsizetype colon = indexOutsideQuotes(line, ':', 0);
    if (colon == line.size())
        return property;
    const QByteArrayView head = line.first(colon);
    property.value = line.sliced(colon + 1);
    const qsizetype end = indexOutsideQuotes(head, ';', 0);
    const QByteArrayView name = head.first(end).trimmed();
    property.name = name.sliced(name.lastIndexOf('.') + 1);
    property.parameters = head.sliced(end);
    return property;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "=XX" is the byte XX; anything else, a lone '=' too, is itself.
QByteArray decodeQuotedPrintable(QByteArrayView encoded)
{
    QByteArray bytes;
    bytes.reserve(encoded.size());
    for (qsizetype at = 0; at < encoded.size(); ++at) {
        const bool escape = encoded[at] == '=' && at + 2 < encoded.size();
        const int high = escape ? hexValue(encoded[at + 1]) : -1;
        const int low = escape ? hexValue(encoded[at + 2]) : -1;
        if (high >= 0 && low >= 0) {
            bytes.append(char(high * 16 + low));
            at += 2;
        } else {
            bytes.append(encoded[at]);
        }
    }
    return bytes;
}

// \n and \N are line breaks; \\, \, and \; the character itself; other backslashes stay.
QString unescaped(const QString &text)
{
    if (!text.contains(u'\\'))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar next = at + 1 < text.size() ? text[at + 1] : QChar();
        if (text[at] != u'\\'
            || !(next == u'n' || next == u'N' || next == u'\\' || next == u',' || next == u';')) {
            result.append(text[at]);
            continue;
        }
        result.append(next == u'n' || next == u'N' ? QChar(u'\n') : next);
        ++at;
    }
    return result;
}

QString decodeText(QByteArrayView raw, const Parameters &parameters)
{
    // Without quoted-printable the bytes are read where they lie, not copied.
    const QByteArray bytes = parameters.quotedPrintable
        ? decodeQuotedPrintable(raw)
        : QByteArray::fromRawData(raw.data(), raw.size());
    return unescaped(
        parameters.windows1252 ? TextCodec::decodeWindows1252(bytes) : TextCodec::decode(bytes));
}

// The value's components, split at the semicolons no backslash escapes, each decoded.
QStringList components(QByteArrayView value, const Parameters &parameters)
{
    const auto nextFrom = [&](qsizetype &place, char sought, qsizetype at) {
        if (place < at)
            place = value.indexOf(sought, at) < 0 ? value.size() : value.indexOf(sought, at);
        return place;
    };
    QStringList parts;
    parts.reserve(7);
    qsizetype semicolon = -1;
    qsizetype backslash = -1;
    qsizetype start = 0;
    qsizetype at = 0;
    for (;;) {
        const qsizetype end = nextFrom(semicolon, ';', at);
        if (nextFrom(backslash, '\\', at) < end) {
            at = backslash + 2;
            continue;
        }
        parts.append(decodeText(value.sliced(start, end - start), parameters));
        if (end == value.size())
            return parts;
        start = at = end + 1;
    }
}

// N: family; given; additional; prefix; suffix, each perhaps a comma-separated list.
QString nameFromParts(const QStringList &parts)
{
    QStringList words;
    for (const int index : {3, 1, 2, 0, 4})
        words.append(parts.value(index));
    return words.join(u' ').replace(u',', u' ').simplified();
}

struct PostalAddress
{
    QStringList parts; // PO box; extended; street; city; region; postal code; country
    int preference = NotPreferred;
    bool home = false;

    void fill(RecipientParts &recipient) const
    {
        recipient.streetLines = QStringList {parts.value(2), parts.value(1), parts.value(0)};
        recipient.city = parts.value(3);
        recipient.state = parts.value(4);
        recipient.zip = parts.value(5);
        recipient.country = parts.value(6);
    }
    [[nodiscard]] bool isBetterThan(const PostalAddress &other) const
    {
        return preference < other.preference
            || (preference == other.preference && home && !other.home);
    }
};

class CardInProgress
{
public:
    explicit CardInProgress(int line)
        : m_line(line)
    { }

    void take(const Property &property)
    {
        const bool formattedName = property.is("FN") && m_formattedName.isEmpty();
        const bool structuredName = property.is("N") && m_structuredName.isEmpty();
        const bool organisation = property.is("ORG") && m_organisation.isEmpty();
        if (!formattedName && !structuredName && !organisation && !property.is("ADR"))
            return;
        const Parameters parameters = parametersOf(property.parameters);
        if (formattedName)
            m_formattedName = decodeText(property.value, parameters).simplified();
        else if (structuredName)
            m_structuredName = nameFromParts(components(property.value, parameters));
        else if (organisation)
            m_organisation = components(property.value, parameters).value(0).simplified();
        else
            takeAddress(components(property.value, parameters), parameters);
    }

    void finishInto(AddressList &list) const
    {
        const RecipientParts recipient = parts();
        const QString name = AddressLines::displayName(recipient);
        if (!m_address)
            list.skipped.push_back({m_line, name, u"no postal address (ADR) in the card"_s});
        else
            list.envelopes.push_back({AddressLines::compose(recipient), name, m_line});
    }

    [[nodiscard]] ListNotice unclosed() const
    {
        return {m_line, AddressLines::displayName(parts()),
            u"the card has no END:VCARD before the end of the file"_s};
    }

private:
    void takeAddress(const QStringList &parts, const Parameters &parameters)
    {
        PostalAddress address {parts, parameters.preference, parameters.home};
        RecipientParts recipient;
        address.fill(recipient);
        if (AddressLines::hasAddress(recipient) && (!m_address || address.isBetterThan(*m_address)))
            m_address = address;
    }

    [[nodiscard]] RecipientParts parts() const
    {
        RecipientParts recipient;
        recipient.name = m_formattedName.isEmpty() ? m_structuredName : m_formattedName;
        recipient.company = m_organisation;
        if (m_address)
            m_address->fill(recipient);
        return recipient;
    }

    int m_line;
    QString m_formattedName;
    QString m_structuredName;
    QString m_organisation;
    std::optional<PostalAddress> m_address;
};

bool isCardBoundary(const Property &property, const char *name)
{
    return property.is(name) && sameWord(property.value.trimmed(), "VCARD");
}

} // namespace

namespace VCardReader {

AddressList read(const QByteArray &bytes)
{
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    UnfoldedLines lines(text);
    AddressList list;
    std::optional<CardInProgress> card;
    int nesting = 0; // cards inside a card (2.1's AGENT) are part of it
    bool seenCard = false;
    QByteArray line;
    int number = 0;
    while (lines.next(line, number)) {
        const Property property = parseProperty(line);
        if (isCardBoundary(property, "BEGIN")) {
            if (card) {
                ++nesting;
            } else {
                card.emplace(number);
                lines.setKeepsFoldBlank(false);
                seenCard = true;
            }
        } else if (card && isCardBoundary(property, "END")) {
            if (nesting > 0) {
                --nesting;
            } else {
                card->finishInto(list);
                card.reset();
            }
        } else if (card && nesting == 0) {
            if (property.is("VERSION"))
                lines.setKeepsFoldBlank(property.value.trimmed() == "2.1");
            card->take(property);
        }
    }
    if (card)
        return {{}, {}, card->unclosed()};
    if (!seenCard)
        return {{}, {}, ListNotice {0, {}, u"no BEGIN:VCARD in the file"_s}};
    return list;
}

} // namespace VCardReader
