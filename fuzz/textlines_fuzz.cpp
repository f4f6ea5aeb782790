// Bytes of a settings or address file into text and lines: decoding takes any
// bytes, valid UTF-8 comes back byte for byte, lines never hold a CR, and an
// address saved (its text and CR LF) opens again unchanged.
#include "fuzzsupport.h"

#include "settings/linereader.h"
#include "settings/textcodec.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool isValidUtf8(const QByteArray &bytes)
{
    // Qt's decoder replaces every malformed sequence, so only valid UTF-8
    // survives the trip unchanged.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

bool isValidUtf16(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

void checkDecoding(const QByteArray &bytes, const QString &text)
{
    FUZZ_CHECK(isValidUtf16(text));
    FUZZ_CHECK(text.size() <= bytes.size());
    // Line breaks are plain bytes: no byte sequence hides or invents one.
    FUZZ_CHECK(text.count(u'\r') == bytes.count('\r'));
    FUZZ_CHECK(text.count(u'\n') == bytes.count('\n'));
    FUZZ_CHECK(TextCodec::decode(TextCodec::encode(text)) == text);
    if (isValidUtf8(bytes)) {
        FUZZ_CHECK(text == QString::fromUtf8(bytes));
        FUZZ_CHECK(TextCodec::encode(text) == bytes);
    }
}

// The lines as CR, CR LF and the end of the text divide them.
QStringList expectedLines(const QString &text)
{
    QString breaks = text;
    breaks.replace(CrLf, QStringLiteral("\r"));
    if (breaks.endsWith(u'\r'))
        breaks.chop(1);
    if (text.isEmpty())
        return {};
    return breaks.split(u'\r');
}

void checkLines(const QString &text, const QStringList &lines)
{
    FUZZ_CHECK(lines == expectedLines(text));
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(u'\r'));

    const std::optional<QString> first = LineReader::firstLine(text);
    FUZZ_CHECK(first.has_value() == !text.isEmpty());
    if (first)
        FUZZ_CHECK(*first == lines.value(0));
}

void checkFirstField(const QString &text, const QStringList &lines)
{
    const std::optional<QString> field = LineReader::firstField(text);
    FUZZ_CHECK(field.has_value() == !text.isEmpty());
    if (!field)
        return;
    QString rest = lines.value(0);
    while (rest.startsWith(u' ') || rest.startsWith(u'\t'))
        rest.remove(0, 1);
    // A quoted value ends at the closing quote, any other at a comma.
    QChar end = u',';
    if (rest.startsWith(u'"')) {
        rest.remove(0, 1);
        end = u'"';
    }
    FUZZ_CHECK(rest.startsWith(*field));
    FUZZ_CHECK(!field->contains(end));
    FUZZ_CHECK(rest.size() == field->size() || rest.at(field->size()) == end);
}

// What opening an address file puts into the recipient box.
QString openedAddress(const QByteArray &bytes)
{
    return LineReader::lines(TextCodec::decode(bytes)).join(CrLf);
}

void checkAddressRoundTrip(const QByteArray &bytes)
{
    const QString address = openedAddress(bytes);
    const QByteArray saved = TextCodec::encode(address) + "\r\n";
    FUZZ_CHECK(openedAddress(saved) == address);
    // A last line with or without its break opens the same.
    if (!bytes.endsWith('\r') && !bytes.endsWith("\r\n"))
        FUZZ_CHECK(openedAddress(bytes + "\r\n") == address);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const QString text = TextCodec::decode(bytes);
    checkDecoding(bytes, text);
    const QStringList lines = LineReader::lines(text);
    checkLines(text, lines);
    checkFirstField(text, lines);
    checkAddressRoundTrip(bytes);
    return 0;
}
