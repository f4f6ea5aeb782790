// Bytes of a settings or address file into text and lines: decoding takes any
// bytes, valid UTF-8 comes back byte for byte, lines and the first field are
// cut at CR, CR LF and commas only, and an address saved (its text and CR LF)
// opens again unchanged.
#include "fuzzsupport.h"

#include "settings/linereader.h"
#include "settings/textcodec.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

// What opening an address file puts into the recipient box.
QString openedAddress(const QByteArray &bytes)
{
    return LineReader::lines(TextCodec::decode(bytes)).join(CrLf);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const QString text = TextCodec::decode(bytes);
    FUZZ_CHECK(text.isValidUtf16() && text.size() <= bytes.size());
    // Line breaks are plain bytes: no byte sequence hides or invents one.
    FUZZ_CHECK(text.count(u'\r') == bytes.count('\r') && text.count(u'\n') == bytes.count('\n'));
    FUZZ_CHECK(TextCodec::decode(TextCodec::encode(text)) == text);
    // Qt's decoder replaces every malformed sequence, so only valid UTF-8 survives it unchanged.
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
        FUZZ_CHECK(text == QString::fromUtf8(bytes) && TextCodec::encode(text) == bytes);

    QString breaks = text;
    breaks.replace(CrLf, QStringLiteral("\r"));
    if (breaks.endsWith(u'\r'))
        breaks.chop(1);
    const QStringList lines = LineReader::lines(text);
    FUZZ_CHECK(lines == (text.isEmpty() ? QStringList() : breaks.split(u'\r')));
    FUZZ_CHECK(LineReader::firstLine(text)
        == (text.isEmpty() ? std::nullopt : std::optional(lines.value(0))));

    // A quoted value ends at the closing quote, any other at a comma.
    const std::optional<QString> field = LineReader::firstField(text);
    FUZZ_CHECK(field.has_value() == !text.isEmpty());
    QString rest = lines.value(0);
    while (rest.startsWith(u' ') || rest.startsWith(u'\t'))
        rest.remove(0, 1);
    const QChar end = rest.startsWith(u'"') ? u'"' : u',';
    if (end == u'"')
        rest.remove(0, 1);
    if (field)
        FUZZ_CHECK(rest.startsWith(*field) && !field->contains(end)
            && (rest.size() == field->size() || rest.at(field->size()) == end));

    const QString address = openedAddress(bytes);
    FUZZ_CHECK(openedAddress(TextCodec::encode(address) + "\r\n") == address);
    // A last line with or without its break opens the same.
    if (!bytes.endsWith('\r') && !bytes.endsWith("\r\n"))
        FUZZ_CHECK(openedAddress(bytes + "\r\n") == address);
    return 0;
}
