// Settings-file bytes into every restore rule: each outcome stays in the
// range of the control it selects, only the first line or field decides the
// one-value settings, and what the window restores survives being written
// back and restored again.
#include "fuzzsupport.h"

#include "settings/restorerules.h"
#include "settings/textcodec.h"

#include <cmath>

using namespace RestoreRules;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    // A second line after the first must change nothing for the one-value settings.
    const QByteArray longer = bytes + '\r' + bytes + "7,right,1";
    const auto inRange = [](const std::optional<int> &value, int last) {
        return !value || (*value >= 0 && *value <= last);
    };

    FUZZ_CHECK(inRange(fontSize(bytes), 2) && fontSize(longer) == fontSize(bytes));
    const std::optional<int> envSize = envelopeSize(bytes);
    FUZZ_CHECK(inRange(envSize, 2) && envelopeSize(longer) == envSize);
    // Only a line that is exactly one digit selects a size.
    FUZZ_CHECK(
        !envSize || ((bytes.size() == 1 || bytes.at(1) == '\r') && bytes.at(0) == '0' + *envSize));

    const Margin edge = margin(bytes);
    FUZZ_CHECK(!std::isnan(edge.marginInches) && inRange(edge.button, 5));
    FUZZ_CHECK(!edge.button || std::fabs(edge.marginInches - *edge.button) <= 0.5);
    FUZZ_CHECK(
        margin(longer).button == edge.button && margin(longer).marginInches == edge.marginInches);

    FUZZ_CHECK(printPostNet(bytes) == printLogo(bytes) && printLogo(longer) == printLogo(bytes));

    const std::optional<FeedButton> side = feedSide(bytes);
    FUZZ_CHECK(feedSide(longer) == side);
    // The word is matched exactly, so a selected button means the word is there.
    static const char *const Words[] = {"left", "right", "center"};
    FUZZ_CHECK(!side || bytes.contains(Words[int(*side)]));

    // Leaving the box writes the text and CR LF; the next start restores it
    // unchanged, with every line break a CR LF.
    const QString address = returnAddress(bytes);
    FUZZ_CHECK(address.count(u'\r') == address.count(QStringLiteral("\r\n")));
    FUZZ_CHECK(returnAddress(TextCodec::encode(address) + "\r\n") == address);

    // The last line counts: the path written alone restores itself, and so
    // does a path written after other lines (a LF right after a CR LF would
    // belong to the break, so such a path is left out there).
    const std::optional<QString> path = logoPath(bytes);
    if (path) {
        FUZZ_CHECK(!QString(*path).remove(u' ').remove(u'\t').isEmpty());
        FUZZ_CHECK(!path->contains(u'\r') && logoPath(TextCodec::encode(*path) + "\r\n") == path);
        FUZZ_CHECK(
            path->startsWith(u'\n') || logoPath(bytes + "\r\n" + TextCodec::encode(*path)) == path);
    }
    return 0;
}
