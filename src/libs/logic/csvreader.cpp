#include "csvreader.h"

#include "addresslines.h"
#include "delimitedrecords.h"
#include "listcolumns.h"
#include "settings/textcodec.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace ListColumns;

namespace {

// The values of the row being read, taken from the text only when asked for.
class Row
{
public:
    Row(const DelimitedRecords &records, const std::vector<FieldSpan> &fields)
        : m_records(records)
        , m_fields(fields)
    { }

    // Google Contacts joins several values of one field with " ::: "; the first is taken.
    [[nodiscard]] QString value(int column) const
    {
        if (column < 0 || size_t(column) >= m_fields.size())
            return {};
        const QString text = m_records.value(m_fields[size_t(column)]);
        const qsizetype more = text.indexOf(u" ::: ");
        return more < 0 ? text : text.left(more);
    }
    [[nodiscard]] bool isBlank(int column) const
    {
        const bool present = column >= 0 && size_t(column) < m_fields.size();
        return !present || m_records.isBlank(m_fields[size_t(column)])
            || value(column).trimmed().isEmpty();
    }
    [[nodiscard]] bool isBlank() const
    {
        return std::all_of(m_fields.begin(), m_fields.end(),
            [this](const FieldSpan &field) { return m_records.isBlank(field); });
    }

private:
    const DelimitedRecords &m_records;
    const std::vector<FieldSpan> &m_fields;
};

QString nameOf(const Row &row, const Columns &columns)
{
    const QString name = row.value(columns.names[Name]).simplified();
    if (!name.isEmpty())
        return name;
    QStringList parts;
    for (const Role role : {First, Middle, Last})
        parts.append(row.value(columns.names[role]));
    return parts.join(u' ').simplified();
}

void takeAddress(RecipientParts &recipient, const Row &row, const AddressGroup &group)
{
    const auto value = [&](AddressPart part) { return row.value(group.columns[part]); };
    for (const AddressPart part : {Street, Street2, Street3, Extended, PoBox})
        recipient.streetLines.append(value(part));
    recipient.city = value(City);
    recipient.state = value(State);
    recipient.zip = value(Zip);
    recipient.country = value(Country);
    const QString formatted = value(Formatted);
    const bool noStreet = std::all_of(recipient.streetLines.begin(), recipient.streetLines.end(),
        [](const QString &line) { return line.trimmed().isEmpty(); });
    if (noStreet && !formatted.trimmed().isEmpty()) {
        recipient.streetLines = AddressLines::nonBlankLines(formatted);
        recipient.city = recipient.state = recipient.zip = recipient.country = QString();
        if (AddressLines::isUnitedStates(recipient.streetLines.constLast()))
            recipient.streetLines.removeLast();
    }
}

bool holdsStreet(const Row &row, const AddressGroup &group)
{
    const auto holds = [&](AddressPart part) { return !row.isBlank(group.columns[part]); };
    return holds(Street) || holds(Street2) || holds(Street3) || holds(Extended) || holds(PoBox)
        || (holds(Formatted) && !AddressLines::isUnitedStates(row.value(group.columns[Formatted])));
}

bool holdsAddress(const Row &row, const AddressGroup &group)
{
    const auto holds = [&](AddressPart part) { return !row.isBlank(group.columns[part]); };
    return holdsStreet(row, group) || holds(City) || holds(State) || holds(Zip);
}

// The first address group with a street; else the first with any part of an address.
RecipientParts recipientOf(const Row &row, const Columns &columns)
{
    RecipientParts recipient;
    recipient.name = nameOf(row, columns);
    recipient.company = row.value(columns.names[Company]).simplified();
    const auto &groups = columns.addresses;
    const auto withStreet = std::find_if(groups.begin(), groups.end(),
        [&](const AddressGroup &group) { return holdsStreet(row, group); });
    const auto chosen = withStreet != groups.end()
        ? withStreet
        : std::find_if(groups.begin(), groups.end(),
            [&](const AddressGroup &group) { return holdsAddress(row, group); });
    if (chosen != groups.end())
        takeAddress(recipient, row, *chosen);
    return recipient;
}

AddressList unusable(int line, const QString &message)
{
    return {{}, {}, ListNotice {line, {}, message}};
}

} // namespace

namespace CsvReader {

AddressList read(const QByteArray &bytes, const ColumnChoice &choice)
{
    QString text = TextCodec::decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    DelimitedRecords records(text, DelimitedRecords::delimiterOf(text));
    std::vector<FieldSpan> fields;
    fields.reserve(16);
    while (records.next(fields) && Row(records, fields).isBlank()) { }
    const auto openQuote = [&] {
        return unusable(
            records.openQuoteLine(), u"a quoted field is not closed before the end of the file"_s);
    };
    if (records.openQuoteLine() > 0)
        return openQuote();
    if (fields.empty())
        return unusable(0, u"no header row"_s);

    QStringList headers;
    for (const FieldSpan &field : fields)
        headers.append(records.value(field).trimmed());
    const Mapping mapping = ListColumns::map(headers, choice);
    if (!mapping.error.isEmpty())
        return unusable(records.recordLine(), mapping.error);

    AddressList list;
    while (records.next(fields)) {
        const Row row(records, fields);
        if (row.isBlank())
            continue;
        const RecipientParts recipient = recipientOf(row, mapping.columns);
        const QString name = AddressLines::displayName(recipient);
        if (AddressLines::hasAddress(recipient))
            list.envelopes.push_back(
                {AddressLines::compose(recipient), name, records.recordLine()});
        else
            list.skipped.push_back({records.recordLine(), name, u"no address in the row"_s});
    }
    return records.openQuoteLine() > 0 ? openQuote() : list;
}

} // namespace CsvReader
