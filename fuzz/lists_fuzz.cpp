// Any bytes as a list of each format: no crash, printable envelopes, lines in order, errors
// alone. The text cut at '|' as one recipient: its CSV row and its vCard print the same.
#include "fuzzsupport.h"

#include "logic/addresslist.h"
#include "logic/zipextraction.h"
#include "settings/textcodec.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Lines as CR LF, CR and LF end them; a break at the very end starts none.
int lineCount(const QByteArray &bytes)
{
    const int breaks = int(bytes.count('\r') + bytes.count('\n') - bytes.count("\r\n"));
    return breaks + (bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith('\n') ? 0 : 1);
}

bool isPrintable(const QString &line, ListFormat format)
{
    const bool tidy
        = format == ListFormat::AddressFile || (!line.isEmpty() && line == line.simplified());
    return tidy && !line.contains(u'\r') && !line.contains(u'\n');
}

void checkList(const AddressList &list, const QByteArray &bytes, ListFormat format)
{
    const int lines = qMax(lineCount(bytes), 1);
    FUZZ_CHECK(!list.error
        || (list.envelopes.empty() && list.skipped.empty() && list.error->line >= 0
            && list.error->line <= lines));
    int previous = 0;
    for (const ListedEnvelope &envelope : list.envelopes) {
        FUZZ_CHECK(!envelope.lines.isEmpty() && envelope.line > previous && envelope.line <= lines);
        FUZZ_CHECK(!envelope.name.contains(u'\r') && !envelope.name.contains(u'\n'));
        // A .qmf keeps the blank lines at its end, as Open Address does; other lists end on text.
        FUZZ_CHECK(format == ListFormat::AddressFile || envelope.lines == QStringList {QString()}
            || !envelope.lines.constLast().trimmed().isEmpty());
        for (const QString &line : envelope.lines)
            FUZZ_CHECK(isPrintable(line, format));
        previous = envelope.line;
    }
    previous = 0;
    for (const ListNotice &notice : list.skipped) {
        FUZZ_CHECK(notice.line > previous && notice.line <= lines && !notice.message.isEmpty());
        previous = notice.line;
    }
}

// The whole file is the one envelope: its lines, then nothing but blanks.
void checkAddressFile(const AddressList &list, const QByteArray &bytes)
{
    checkList(list, bytes, ListFormat::AddressFile);
    FUZZ_CHECK(list.envelopes.size() == 1 && list.envelopes.front().line == 1 && !list.error);
    const QString text = TextCodec::decode(bytes).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    const QString printed = list.envelopes.front().lines.join(u'\n');
    FUZZ_CHECK(text.startsWith(printed) && text.mid(printed.size()).trimmed().isEmpty());
}

QByteArray csvField(QString text)
{
    return '"' + TextCodec::encode(text.replace(u'"', u"\"\""_s)) + '"';
}

QByteArray vCardText(QString text)
{
    text.replace(u'\\', u"\\\\"_s).replace(u';', u"\\;"_s).replace(u',', u"\\,"_s);
    return TextCodec::encode(
        text.replace(u"\r\n"_s, u"\\n"_s).replace(u'\r', u"\\n"_s).replace(u'\n', u"\\n"_s));
}

QStringList printed(const AddressList &list)
{
    QStringList envelopes;
    for (const ListedEnvelope &envelope : list.envelopes)
        envelopes << envelope.name + u'>' + envelope.lines.join(u'|');
    return envelopes;
}

// Name, company, street, city, state, ZIP and country, written both ways.
void checkOneRecipient(const QString &text)
{
    QStringList parts = text.split(u'|').mid(0, 7);
    while (parts.size() < 7)
        parts.append(QString());
    QByteArray csv = "Name,Company,Street,City,State,ZIP,Country\r\n";
    QByteArrayList fields;
    for (const QString &part : parts)
        fields.append(csvField(part));
    csv += fields.join(',') + "\r\n";
    const QByteArray vCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + vCardText(parts[0])
        + "\r\nORG:" + vCardText(parts[1]) + "\r\nADR:;;" + vCardText(parts[2]) + ';'
        + vCardText(parts[3]) + ';' + vCardText(parts[4]) + ';' + vCardText(parts[5]) + ';'
        + vCardText(parts[6]) + "\r\nEND:VCARD\r\n";
    const AddressList fromCsv = readAddressList(csv, ListFormat::Delimited);
    const AddressList fromVCard = readAddressList(vCard, ListFormat::VCard);
    if (!text.contains(u" ::: ")) // Google's joined values: the CSV reader takes the first
        FUZZ_CHECK(printed(fromCsv) == printed(fromVCard));
    // A ZIP code of digits and dashes is what the bar code reads, whatever the country.
    const QString zip = parts[5].simplified();
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const bool zipAlone
        = std::all_of(zip.begin(), zip.end(), [&](QChar c) { return c == u'-' || isDigit(c); });
    if (zipAlone && std::any_of(zip.begin(), zip.end(), isDigit))
        FUZZ_CHECK(extractZipDigits(fromCsv.envelopes.front().lines.join(u'\n'))
            == QString(zip).remove(u'-'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // One reader per input keeps the runs fast; the first byte picks it.
    switch (Fuzz::take<quint8>(bytes) % 5) {
    case 0:
        checkAddressFile(readAddressList(bytes, ListFormat::AddressFile), bytes);
        break;
    case 1:
        checkList(readAddressList(bytes, ListFormat::VCard), bytes, ListFormat::VCard);
        FUZZ_CHECK(guessListFormat(u"-", "BEGIN:VCARD" + bytes) == ListFormat::VCard);
        break;
    case 2:
        checkList(readAddressList(bytes, ListFormat::Delimited), bytes, ListFormat::Delimited);
        break;
    case 3: {
        // A column named on the command line: the first line's text before its first delimiter.
        ColumnChoice choice;
        const QByteArray first
            = bytes.left(bytes.indexOf('\n')).split(',').front().split(';').front();
        choice.choose(u"street="_s + TextCodec::decode(first));
        checkList(
            readAddressList(bytes, ListFormat::Delimited, choice), bytes, ListFormat::Delimited);
        break;
    }
    default:
        checkOneRecipient(TextCodec::decode(bytes));
    }
    return 0;
}
