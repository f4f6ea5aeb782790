#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

// One recipient of a list, ready to print.
struct ListedEnvelope
{
    QStringList lines; // the address lines as they will be printed, top to bottom
    QString name; // the recipient's name (or company), for messages
    int line = 0; // 1-based line of the file where its card, row or file starts
};

// A card or row left out, or why a list cannot be used. Line 0 stands for the whole file.
struct ListNotice
{
    int line = 0;
    QString name;
    QString message;
};

struct AddressList
{
    std::vector<ListedEnvelope> envelopes;
    std::vector<ListNotice> skipped;
    std::optional<ListNotice> error; // the list cannot be used at all: envelopes is empty then
};

enum class ListFormat
{
    AddressFile, // a .qmf file: one recipient, the whole file
    VCard,
    Delimited, // CSV or TSV with a header row
};

// From the file name's extension (.qmf; .vcf, .vcard; .csv, .tsv, .txt) and, for "-" (standard
// input) or another extension, from the start of the content: BEGIN:VCARD is a vCard, a first
// line with a comma, semicolon or tab a delimited list, anything else an address file.
[[nodiscard]] ListFormat guessListFormat(QStringView fileName, QByteArrayView start);

// What a column of a delimited list can hold, as the command line names it (--column FIELD=HEADER).
enum class ListField
{
    Name,
    First,
    Last,
    Company,
    Street,
    Street2,
    City,
    State,
    Zip,
    Country,
};
inline constexpr int ListFieldCount = 10;
// "name", "first", "last", "company", "street", "street2", "city", "state", "zip", "country".
[[nodiscard]] QString listFieldName(ListField field);

// The user's naming of columns; a field named here overrides the column found by its header.
// When any address field (street to country) is named, the address is taken from the named
// columns and the recognised ungrouped ones ("City", "ZIP"...), never from Home/Work/Address 1.
struct ColumnChoice
{
    std::array<QString, ListFieldCount> headers; // empty: the header is recognised

    // Takes one "FIELD=HEADER" as given to --column (the header compared without regard to
    // case). False, and nothing taken, when FIELD is not a field's name or the '=' is missing.
    bool choose(QStringView fieldEqualsHeader);
    [[nodiscard]] const QString &header(ListField field) const
    {
        return headers[static_cast<size_t>(field)];
    }
};

// An address file's text as Open Address puts it into the recipient box: its lines joined by
// CR LF (a break at the very end starts no line; blank lines before it stay).
[[nodiscard]] QString addressFileText(const QByteArray &bytes);

// Bytes in, envelopes out; nothing is read from disk.
[[nodiscard]] AddressList readAddressList(
    const QByteArray &bytes, ListFormat format, const ColumnChoice &columns = {});
