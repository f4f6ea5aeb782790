#include "listcolumns.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using namespace ListColumns;

// A recognised column: a name role (below NameRoleCount) or an address part of a group.
struct Target
{
    int role = 0; // a Role, or NameRoleCount + an AddressPart
    int rank = 0;
};

constexpr int part(AddressPart addressPart)
{
    return NameRoleCount + addressPart;
}

struct KnownName
{
    QStringView key;
    int role;
};

// Names as Thunderbird, Google Contacts, Outlook, LibreOffice and hand-made lists write them,
// reduced to their lower-case letters and digits.
constexpr KnownName UngroupedNames[] = {{u"name", Name}, {u"fullname", Name},
    {u"displayname", Name}, {u"firstname", First}, {u"givenname", First}, {u"first", First},
    {u"forename", First}, {u"middlename", Middle}, {u"additionalname", Middle}, {u"lastname", Last},
    {u"familyname", Last}, {u"surname", Last}, {u"last", Last}, {u"company", Company},
    {u"companyname", Company}, {u"organization", Company}, {u"organisation", Company},
    {u"organizationname", Company}, {u"organisationname", Company}, {u"organization1name", Company},
    {u"street", part(Street)}, {u"streetaddress", part(Street)}, {u"address", part(Street)},
    {u"addressline1", part(Street)}, {u"address1", part(Street)}, {u"street1", part(Street)},
    {u"street2", part(Street2)}, {u"address2", part(Street2)}, {u"addressline2", part(Street2)},
    {u"street3", part(Street3)}, {u"address3", part(Street3)}, {u"addressline3", part(Street3)},
    {u"pobox", part(PoBox)}, {u"postofficebox", part(PoBox)}, {u"city", part(City)},
    {u"town", part(City)}, {u"locality", part(City)}, {u"state", part(State)},
    {u"province", part(State)}, {u"region", part(State)}, {u"stateorprovince", part(State)},
    {u"stateprovince", part(State)}, {u"zip", part(Zip)}, {u"zipcode", part(Zip)},
    {u"postalcode", part(Zip)}, {u"postcode", part(Zip)}, {u"zippostalcode", part(Zip)},
    {u"country", part(Country)}, {u"countryregion", part(Country)},
    {u"countryorregion", part(Country)}};

// After "Home", "Work", "Business" or "Other" (Thunderbird, Outlook, LibreOffice).
constexpr KnownName GroupedParts[] = {{u"address", Street}, {u"street", Street},
    {u"streetaddress", Street}, {u"address2", Street2}, {u"street2", Street2},
    {u"address3", Street3}, {u"street3", Street3}, {u"pobox", PoBox}, {u"addresspobox", PoBox},
    {u"city", City}, {u"state", State}, {u"region", State}, {u"province", State}, {u"zip", Zip},
    {u"zipcode", Zip}, {u"postalcode", Zip}, {u"postcode", Zip}, {u"country", Country},
    {u"countryregion", Country}};

// After Google's "Address 1 - ".
constexpr KnownName NumberedParts[]
    = {{u"street", Street}, {u"extendedaddress", Extended}, {u"pobox", PoBox}, {u"city", City},
        {u"region", State}, {u"postalcode", Zip}, {u"country", Country}, {u"formatted", Formatted}};

using NameTable = QHash<QString, int>;

template <size_t Size> NameTable tableOf(const KnownName (&names)[Size])
{
    NameTable table;
    for (const KnownName &name : names)
        table.insert(name.key.toString(), name.role);
    return table;
}

std::optional<int> roleOf(const NameTable &table, QStringView key)
{
    // The key is looked up where it lies, not copied.
    const auto found = table.constFind(QString::fromRawData(key.data(), key.size()));
    return found == table.cend() ? std::nullopt : std::optional(*found);
}

using KeyBuffer = std::array<char16_t, 32>; // longer than any name known

// The header's letters and digits in lower case ("Home ZipCode": "homezipcode"), kept in the
// buffer; empty when it is longer than any name known.
QStringView keyOf(QStringView header, KeyBuffer &buffer)
{
    size_t size = 0;
    for (const QChar c : header) {
        if (!c.isLetterOrNumber())
            continue;
        if (size == buffer.size())
            return {};
        buffer[size++] = c.toCaseFolded().unicode();
    }
    return QStringView(buffer.data(), qsizetype(size));
}

// Google's "Address 1 - Street": "address", a number, a part.
std::optional<Target> numberedTarget(QStringView key)
{
    const QStringView prefix = u"address";
    qsizetype digits = prefix.size();
    while (digits < key.size() && key[digits].isDigit())
        ++digits;
    if (digits == prefix.size() || !key.startsWith(prefix))
        return std::nullopt;
    static const NameTable numberedParts = tableOf(NumberedParts);
    const std::optional<int> role = roleOf(numberedParts, key.mid(digits));
    if (!role)
        return std::nullopt;
    const int number = qMin(key.mid(prefix.size(), digits - prefix.size()).toInt(), 1000);
    return Target {part(AddressPart(*role)), 10 + number};
}

std::optional<Target> targetOf(QStringView header)
{
    KeyBuffer buffer;
    const QStringView key = keyOf(header, buffer);
    if (key.isEmpty())
        return std::nullopt;
    static const NameTable ungroupedNames = tableOf(UngroupedNames);
    static const NameTable groupedParts = tableOf(GroupedParts);
    if (const std::optional<int> role = roleOf(ungroupedNames, key))
        return Target {*role, 0};
    const std::pair<QStringView, int> groups[]
        = {{u"home", 1}, {u"work", 2}, {u"business", 2}, {u"other", 3}};
    for (const auto &[prefix, rank] : groups) {
        if (!key.startsWith(prefix))
            continue;
        if (const std::optional<int> role = roleOf(groupedParts, key.mid(prefix.size())))
            return Target {part(AddressPart(*role)), rank};
    }
    return numberedTarget(key);
}

constexpr int ChosenRoles[ListFieldCount] = {Name, First, Last, Company, part(Street),
    part(Street2), part(City), part(State), part(Zip), part(Country)};

QString quotedList(const QStringList &headers)
{
    QString quoted;
    for (const QString &header : headers)
        quoted.append(quoted.isEmpty() ? u"\""_s : u", \""_s).append(header).append(u'"');
    return quoted;
}

// Which column the user named, or the message when none has that name.
std::optional<int> chosenColumn(const QStringList &headers, const QString &chosen, QString &error)
{
    for (qsizetype column = 0; column < headers.size(); ++column) {
        if (headers[column].trimmed().compare(chosen.trimmed(), Qt::CaseInsensitive) == 0)
            return int(column);
    }
    error = u"no column is named \"%1\"; columns found: %2"_s.arg(chosen, quotedList(headers));
    return std::nullopt;
}

class Assembly
{
public:
    void set(const Target &target, int column, bool overriding)
    {
        int &slot = target.role < NameRoleCount
            ? m_columns.names[size_t(target.role)]
            : m_groups[target.rank].columns[size_t(target.role - NameRoleCount)];
        if (slot < 0 || overriding)
            slot = column;
    }
    // A named address replaces every group but the ungrouped one.
    void keepUngroupedOnly()
    {
        const AddressGroup ungrouped = m_groups[0];
        m_groups = {{0, ungrouped}};
    }
    void dropName() { m_columns.names[Name] = -1; }

    Columns finish()
    {
        for (auto &[rank, group] : m_groups) {
            group.rank = rank;
            m_columns.addresses.push_back(group);
        }
        return m_columns;
    }

private:
    Columns m_columns;
    std::map<int, AddressGroup> m_groups;
};

bool applyChoice(
    Assembly &assembly, const QStringList &headers, const ColumnChoice &choice, QString &error)
{
    bool namesAddress = false;
    for (int field = int(ListField::Street); field < ListFieldCount; ++field)
        namesAddress = namesAddress || !choice.headers[size_t(field)].isEmpty();
    if (namesAddress)
        assembly.keepUngroupedOnly();
    const bool namesParts
        = !choice.header(ListField::First).isEmpty() || !choice.header(ListField::Last).isEmpty();
    if (namesParts && choice.header(ListField::Name).isEmpty())
        assembly.dropName();
    for (int field = 0; field < ListFieldCount; ++field) {
        const QString &chosen = choice.headers[size_t(field)];
        if (chosen.isEmpty())
            continue;
        const std::optional<int> column = chosenColumn(headers, chosen, error);
        if (!column)
            return false;
        assembly.set({ChosenRoles[field], 0}, *column, true);
    }
    return true;
}

QString missingColumnsError(const Columns &columns, const QStringList &headers)
{
    const bool street = std::any_of(
        columns.addresses.begin(), columns.addresses.end(), [](const AddressGroup &group) {
            return group.columns[Street] >= 0 || group.columns[Formatted] >= 0;
        });
    const auto &names = columns.names;
    const bool name
        = names[Name] >= 0 || names[First] >= 0 || names[Last] >= 0 || names[Company] >= 0;
    if (street && name)
        return {};
    const QString missing = !street && !name ? u"columns hold the street and the name or company"_s
        : !street                            ? u"column holds the street"_s
                                             : u"column holds the name or the company"_s;
    return u"cannot tell which %1; columns found: %2; name them with "
           u"--column street=\"HEADER\" --column city=\"HEADER\" ... (fields: name, first, last, "
           u"company, street, street2, city, state, zip, country)"_s.arg(
               missing, quotedList(headers));
}

} // namespace

namespace ListColumns {

Mapping map(const QStringList &headers, const ColumnChoice &choice)
{
    Assembly assembly;
    for (qsizetype column = 0; column < headers.size(); ++column) {
        if (const std::optional<Target> target = targetOf(headers[column]))
            assembly.set(*target, int(column), false);
    }
    Mapping mapping;
    if (!applyChoice(assembly, headers, choice, mapping.error))
        return mapping;
    mapping.columns = assembly.finish();
    mapping.error = missingColumnsError(mapping.columns, headers);
    return mapping;
}

} // namespace ListColumns
