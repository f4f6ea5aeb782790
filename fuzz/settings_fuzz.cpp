// Any bytes as a settings or address file: kept whole, decoded, numbers sane, rules in range.
#include "fuzzsupport.h"

#include "settings/linereader.h"
#include "settings/numericvalue.h"
#include "settings/restorerules.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace RestoreRules;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = TextCodec::decode(bytes);

    const SettingsStore store(folder.path());
    FUZZ_CHECK(TestSupport::writeFile(store.filePath(u"to.txt"), bytes));
    FUZZ_CHECK(store.readState(u"to.txt") == bytes.left(SettingsStore::MaxFileSize));
    FUZZ_CHECK(store.writeText(u"to.txt", text)
        && store.readState(u"to.txt") == TextCodec::encode(text) + "\r\n");

    FUZZ_CHECK(text.isValidUtf16() && text.size() <= bytes.size()
        && TextCodec::decode(TextCodec::encode(text)) == text);
    FUZZ_CHECK(text.count(u'\r') == bytes.count('\r') && text.count(u'\n') == bytes.count('\n'));
    // Qt's decoder replaces every malformed sequence, so only valid UTF-8 survives it unchanged.
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
        FUZZ_CHECK(text == QString::fromUtf8(bytes) && TextCodec::encode(text) == bytes);

    QStringList lines
        = QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').split(u'\n');
    if (lines.constLast().isEmpty()) // a break at the end starts no line
        lines.removeLast();
    FUZZ_CHECK(LineReader::lines(text) == lines);

    QByteArray front = bytes;
    const auto raw = Fuzz::take<double>(front);
    const int first = Fuzz::take<qint16>(front), last = Fuzz::take<qint16>(front);
    const double value = NumericValue::of(text);
    FUZZ_CHECK(
        !std::isnan(value) && NumericValue::of(QString(text).remove(u' ').remove(u'\t')) == value);
    FUZZ_CHECK(value == 0 || text.contains(QRegularExpression(u"[0-9]"_s)));
    for (const double v : {raw, value}) {
        const double rounded = std::nearbyint(v); // the FPU's rounding: ties to even
        FUZZ_CHECK(NumericValue::roundHalfEven(v) == rounded || std::isnan(v));
        FUZZ_CHECK(NumericValue::roundedIndex(v, first, last)
            == (rounded >= first && rounded <= last ? std::optional(int(rounded)) : std::nullopt));
    }

    // A second line must change nothing for the one-value settings.
    const QByteArray longer = bytes + '\r' + bytes + "7,right,1";
    const auto inRange = [](std::optional<int> v, int top) { return !v || (*v >= 0 && *v <= top); };
    for (const auto rule : {&fontSize, &envelopeSize})
        FUZZ_CHECK(inRange(rule(bytes), 2) && rule(longer) == rule(bytes));
    const Margin edge = margin(bytes);
    FUZZ_CHECK(!std::isnan(edge.marginInches) && inRange(edge.button, 5)
        && margin(longer).button == edge.button);
    FUZZ_CHECK(!edge.button || std::fabs(edge.marginInches - *edge.button) <= 0.5);
    FUZZ_CHECK(printPostNet(bytes) == printLogo(bytes) && printLogo(longer) == printLogo(bytes));
    const std::optional<FeedSide> side = feedSide(bytes);
    FUZZ_CHECK(feedSide(longer) == side
        && (!side || bytes.contains(QByteArrayList {"left", "center", "right"}.at(int(*side)))));

    // An address is saved as its text and CR LF.
    const QString address = returnAddress(bytes);
    FUZZ_CHECK(returnAddress(TextCodec::encode(address) + "\r\n") == address);
    // The logo path is the last line, alone or after others (a LF after CR LF joins the break).
    const std::optional<QString> path = logoPath(bytes);
    if (path) {
        FUZZ_CHECK(!QString(*path).remove(u' ').remove(u'\t').isEmpty() && !path->contains(u'\r'));
        FUZZ_CHECK(logoPath(TextCodec::encode(*path) + "\r\n") == path);
        FUZZ_CHECK(
            path->startsWith(u'\n') || logoPath(bytes + "\r\n" + TextCodec::encode(*path)) == path);
    }
    return 0;
}
