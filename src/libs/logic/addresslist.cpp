#include "addresslist.h"

#include "addresslines.h"
#include "csvreader.h"
#include "settings/linereader.h"
#include "settings/textcodec.h"
#include "vcardreader.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView FieldNames[ListFieldCount] = {u"name", u"first", u"last", u"company",
    u"street", u"street2", u"city", u"state", u"zip", u"country"};

std::optional<ListFormat> formatOfExtension(QStringView fileName)
{
    const auto endsWith
        = [&](QStringView extension) { return fileName.endsWith(extension, Qt::CaseInsensitive); };
    if (endsWith(u".qmf"))
        return ListFormat::AddressFile;
    if (endsWith(u".vcf") || endsWith(u".vcard"))
        return ListFormat::VCard;
    if (endsWith(u".csv") || endsWith(u".tsv") || endsWith(u".txt"))
        return ListFormat::Delimited;
    return std::nullopt;
}

ListFormat formatOfContent(QByteArrayView start)
{
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    start = start.trimmed();
    if (start.first(qMin(start.size(), qsizetype(11))).compare("BEGIN:VCARD", Qt::CaseInsensitive)
        == 0)
        return ListFormat::VCard;
    for (const char c : start) {
        if (c == '\r' || c == '\n')
            break;
        if (c == ',' || c == ';' || c == '\t')
            return ListFormat::Delimited;
    }
    return ListFormat::AddressFile;
}

// The file's lines exactly as Open Address puts them into the recipient box, blank ones at the
// end too: they move the bar code down on the window's page, so they do on this one. An empty
// file is one empty line, as an empty box prints.
QStringList addressFileLines(QStringView text)
{
    const QStringList lines = LineReader::lines(text);
    return lines.isEmpty() ? QStringList {QString()} : lines;
}

AddressList readAddressFile(const QByteArray &bytes)
{
    const QStringList lines = addressFileLines(TextCodec::decode(bytes));
    const auto named = std::find_if(
        lines.begin(), lines.end(), [](const QString &line) { return !line.trimmed().isEmpty(); });
    const QString name = named == lines.end() ? QString() : named->simplified();
    return {{{lines, name, 1}}, {}, std::nullopt};
}

} // namespace

QString addressFileText(const QByteArray &bytes)
{
    return LineReader::lines(TextCodec::decode(bytes)).join(u"\r\n"_s);
}

ListFormat guessListFormat(QStringView fileName, QByteArrayView start)
{
    return formatOfExtension(fileName).value_or(formatOfContent(start));
}

QString listFieldName(ListField field)
{
    return FieldNames[static_cast<int>(field)].toString();
}

bool ColumnChoice::choose(QStringView fieldEqualsHeader)
{
    const qsizetype equals = fieldEqualsHeader.indexOf(u'=');
    const QStringView field = fieldEqualsHeader.left(equals).trimmed();
    for (int index = 0; index < ListFieldCount && equals >= 0; ++index) {
        if (field.compare(FieldNames[index], Qt::CaseInsensitive) == 0) {
            headers[size_t(index)] = fieldEqualsHeader.mid(equals + 1).toString();
            return true;
        }
    }
    return false;
}

AddressList readAddressList(const QByteArray &bytes, ListFormat format, const ColumnChoice &columns)
{
    switch (format) {
    case ListFormat::VCard:
        return VCardReader::read(bytes);
    case ListFormat::Delimited:
        return CsvReader::read(bytes, columns);
    case ListFormat::AddressFile:
        break;
    }
    return readAddressFile(bytes);
}
