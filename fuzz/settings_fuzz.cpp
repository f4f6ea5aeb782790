// Any bytes as a settings or address file: kept whole, decoded, numbers sane, rules in range.
#include "fuzzsupport.h"

#include "settings/numericvalue.h"
#include "settings/restorerules.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace RestoreRules;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    static const SettingsStore store(folder.path());
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = TextCodec::decode(bytes);

    if (qChecksum(bytes) % 256 == 0) // flush and rename are slow: only 1 input in 256 (by CRC)
        FUZZ_CHECK(TestSupport::writeFile(store.filePath(u"to.txt"), bytes)
            && store.readState(u"to.txt") == bytes.left(SettingsStore::MaxFileSize)
            && store.writeText(u"to.txt", text)
            && store.readState(u"to.txt") == TextCodec::encode(text) + "\r\n");

    FUZZ_CHECK(text.isValidUtf16() && text.size() <= bytes.size()
        && text.count(u'\r') == bytes.count('\r') && text.count(u'\n') == bytes.count('\n')
        && TextCodec::decode(TextCodec::encode(text)) == text);
    // Qt's decoder replaces every malformed sequence, so only valid UTF-8 survives it unchanged.
    if (const QString utf8 = QString::fromUtf8(bytes); utf8.toUtf8() == bytes)
        FUZZ_CHECK(text == utf8 && TextCodec::encode(text) == bytes);

    auto lines = QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').split(u'\n');
    if (lines.constLast().isEmpty()) // lines end at CR LF, CR or LF; a break at the end starts none
        lines.removeLast();
    // The return address is the file's lines joined again; a line holds no CR or LF.
    FUZZ_CHECK(returnAddress(bytes) == lines.join(u"\r\n"_s));

    QByteArray front = bytes.left(sizeof(double) + 2 * sizeof(qint16));
    const auto raw = Fuzz::take<double>(front);
    const int first = Fuzz::take<qint16>(front), last = Fuzz::take<qint16>(front);
    const double value = NumericValue::of(text);
    FUZZ_CHECK(
        !std::isnan(value) && NumericValue::of(QString(text).remove(u' ').remove(u'\t')) == value);
    FUZZ_CHECK(value == 0
        || std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }));
    for (const double v : {raw, value}) {
        const double rounded = std::nearbyint(v); // the FPU's rounding: ties to even
        FUZZ_CHECK(NumericValue::roundHalfEven(v) == rounded || std::isnan(v));
        FUZZ_CHECK(NumericValue::roundedIndex(v, first, last)
            == (rounded >= first && rounded <= last ? std::optional(int(rounded)) : std::nullopt));
    }

    const auto inRange = [](std::optional<int> v, int top) { return !v || (*v >= 0 && *v <= top); };
    const std::optional<int> font = fontSize(bytes), envelope = envelopeSize(bytes);
    const Margin edge = margin(bytes);
    const bool on = printLogo(bytes);
    const std::optional<FeedSide> side = feedSide(bytes);
    FUZZ_CHECK(inRange(font, 2) && inRange(envelope, 2) && !std::isnan(edge.marginInches)
        && inRange(edge.button, 5) && printPostNet(bytes) == on);
    FUZZ_CHECK(!edge.button || std::fabs(edge.marginInches - *edge.button) <= 0.5);
    FUZZ_CHECK(!side || bytes.contains(QByteArrayList {"left", "center", "right"}.at(int(*side))));
    // The one-value settings read the first line only: saved alone, it gives the same choice.
    if (lines.size() > 1) {
        const QByteArray alone = TextCodec::encode(lines.constFirst()) + "\r\n";
        const Margin edgeAlone = margin(alone);
        FUZZ_CHECK(fontSize(alone) == font && envelopeSize(alone) == envelope
            && edgeAlone.marginInches == edge.marginInches && edgeAlone.button == edge.button
            && printLogo(alone) == on && feedSide(alone) == side);
    }

    // The logo path is the last line, when that is not blank.
    const bool blank = QString(lines.value(lines.size() - 1)).remove(u' ').remove(u'\t').isEmpty();
    FUZZ_CHECK(logoPath(bytes) == (blank ? std::nullopt : std::optional(lines.constLast())));
    return 0;
}
