#pragma once

#include "addresslist.h"

#include <QStringList>

#include <array>
#include <vector>

// What the columns of a delimited list hold, found from the names in its header row.
namespace ListColumns {

enum Role
{
    Name,
    First,
    Middle,
    Last,
    Company,
    NameRoleCount
};

enum AddressPart
{
    Street,
    Street2,
    Street3,
    Extended,
    PoBox,
    City,
    State,
    Zip,
    Country,
    Formatted, // Google's whole address, used when the group has no street parts
    AddressPartCount
};

// One address of several a row may hold (Home, Work, Address 1...): the column of each part.
struct AddressGroup
{
    int rank = 0; // the order groups are tried in: ungrouped, Home, Work, Other, Address 1, 2...
    std::array<int, AddressPartCount> columns {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

struct Columns
{
    std::array<int, NameRoleCount> names {-1, -1, -1, -1, -1}; // -1: no such column
    std::vector<AddressGroup> addresses; // in the order they are tried
};

struct Mapping
{
    Columns columns;
    QString error; // empty when the columns can be used
};

// The columns of the header's names (compared by their letters and digits alone, in any
// case), with the user's choice over them.
[[nodiscard]] Mapping map(const QStringList &headers, const ColumnChoice &choice);

} // namespace ListColumns
