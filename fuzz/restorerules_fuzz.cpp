// Settings-file bytes into every restore rule: each outcome stays in the
// range of the control it selects, only the first line or field decides the
// one-value settings, and what the window restores survives being written
// back and restored again.
#include "fuzzsupport.h"

#include "settings/restorerules.h"
#include "settings/textcodec.h"

#include <cmath>

namespace {

const QByteArray LineEnd("\r\n");

bool inRange(const std::optional<int> &value, int first, int last)
{
    return !value || (*value >= first && *value <= last);
}

bool hasNonBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t')
            return true;
    }
    return false;
}

// The same bytes with a second line after them, which must change nothing for
// the settings read from the first line or field.
QByteArray withFurtherLine(const QByteArray &bytes)
{
    QByteArray longer = bytes;
    longer.append('\r');
    longer.append(bytes);
    longer.append("7,right,1");
    return longer;
}

void checkFontSize(const QByteArray &bytes, const QByteArray &longer)
{
    const std::optional<int> position = RestoreRules::fontSize(bytes);
    FUZZ_CHECK(inRange(position, 0, 2));
    FUZZ_CHECK(RestoreRules::fontSize(longer) == position);
}

void checkEnvelopeSize(const QByteArray &bytes, const QByteArray &longer)
{
    const std::optional<int> button = RestoreRules::envelopeSize(bytes);
    FUZZ_CHECK(inRange(button, 0, 2));
    FUZZ_CHECK(RestoreRules::envelopeSize(longer) == button);
    // Only a line that is exactly one digit selects a button.
    if (button) {
        FUZZ_CHECK(bytes.size() == 1 || bytes.at(1) == '\r');
        FUZZ_CHECK(bytes.at(0) == '0' + *button);
    }
}

void checkMargin(const QByteArray &bytes, const QByteArray &longer)
{
    const RestoreRules::Margin margin = RestoreRules::margin(bytes);
    FUZZ_CHECK(!std::isnan(margin.marginInches));
    FUZZ_CHECK(inRange(margin.button, 0, 5));
    if (margin.button)
        FUZZ_CHECK(std::fabs(margin.marginInches - *margin.button) <= 0.5);
    const RestoreRules::Margin again = RestoreRules::margin(longer);
    FUZZ_CHECK(again.button == margin.button);
    FUZZ_CHECK(again.marginInches == margin.marginInches);
}

void checkSwitches(const QByteArray &bytes, const QByteArray &longer)
{
    const bool logo = RestoreRules::printLogo(bytes);
    FUZZ_CHECK(RestoreRules::printPostNet(bytes) == logo);
    FUZZ_CHECK(RestoreRules::printLogo(longer) == logo);
}

void checkFeedSide(const QByteArray &bytes, const QByteArray &longer)
{
    const auto button = RestoreRules::feedSide(bytes);
    FUZZ_CHECK(RestoreRules::feedSide(longer) == button);
    // The word is matched exactly, so a selected button means the word is there.
    if (button == RestoreRules::FeedButton::Option1)
        FUZZ_CHECK(bytes.contains("left"));
    if (button == RestoreRules::FeedButton::Option2)
        FUZZ_CHECK(bytes.contains("right"));
    if (button == RestoreRules::FeedButton::Option3)
        FUZZ_CHECK(bytes.contains("center"));
}

void checkReturnAddress(const QByteArray &bytes)
{
    const QString address = RestoreRules::returnAddress(bytes);
    // Line breaks in the box are CR LF, never a CR alone.
    for (qsizetype i = 0; i < address.size(); ++i) {
        if (address.at(i) == u'\r')
            FUZZ_CHECK(i + 1 < address.size() && address.at(i + 1) == u'\n');
    }
    // Leaving the box writes the text and CR LF; the next start restores it unchanged.
    FUZZ_CHECK(RestoreRules::returnAddress(TextCodec::encode(address) + LineEnd) == address);
}

void checkLogoPath(const QByteArray &bytes)
{
    const std::optional<QString> path = RestoreRules::logoPath(bytes);
    if (!path)
        return;
    FUZZ_CHECK(hasNonBlank(*path));
    FUZZ_CHECK(!path->contains(u'\r'));
    // The last line counts: the path written alone restores itself, and so
    // does a path written after other lines (a LF right after a CR LF would
    // belong to the break, so such a path is left out there).
    FUZZ_CHECK(RestoreRules::logoPath(TextCodec::encode(*path) + LineEnd) == path);
    if (!path->startsWith(u'\n'))
        FUZZ_CHECK(RestoreRules::logoPath(bytes + LineEnd + TextCodec::encode(*path)) == path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const QByteArray longer = withFurtherLine(bytes);
    checkFontSize(bytes, longer);
    checkEnvelopeSize(bytes, longer);
    checkMargin(bytes, longer);
    checkSwitches(bytes, longer);
    checkFeedSide(bytes, longer);
    checkReturnAddress(bytes);
    checkLogoPath(bytes);
    return 0;
}
