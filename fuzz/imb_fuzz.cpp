// Tracking and routing codes: whatever is accepted gives 65 bars that decode back to it.
#include "fuzzsupport.h"

#include "logic/intelligentmail.h"

#include <algorithm>
#include <array>

namespace {

__extension__ typedef unsigned __int128 Wide;

// USPS-B-3200's bar table: per bar the descender's character and bit (hex), then the ascender's.
constexpr char BarTable[]
    = "H2E3BaA0JcC8F5GbI9D1A1FcC5B8E4JbG3IaD9H6FbB4I5CcJaA2H1G7D6E9A3I6G4C7B1J9HaF2E0D8G2A4IbB0"
      "J8DcC6H7F1EaBcG9H3I0F8J7E6CaD4A5I4F7HbB9G0J6A6E8C1D2F9IcEbG1J5H4D3B2A7C0B3E1GaD5I7J4CbF6"
      "A8HcE2I1FaD0J3A9G5C4H8B7F0E5C3AaGcJ2DbB6I8H9F4AbB5C2J1EcI3G6H0D7E7H5AcBbC9J0G8F3DaI2";

// The codeword of each 13-bit character (5-of-13 from 0, 2-of-13 from 1287), else -1.
std::array<qint16, 8192> codewordTable()
{
    std::array<qint16, 8192> codeword;
    codeword.fill(-1);
    // By the number of ones: where the next pair and the next symmetric character go.
    std::array<int, 6> next {0, 0, 1287, 0, 0, 0}, last {0, 0, 1364, 0, 0, 1286};
    for (unsigned code = 0; code < 8192; ++code) {
        const int ones = __builtin_popcount(code);
        unsigned mirror = 0;
        for (int bit = 0; bit < 13; ++bit)
            mirror |= (code >> bit & 1) << (12 - bit);
        if ((ones != 5 && ones != 2) || mirror < code)
            continue;
        codeword[code] = qint16(mirror == code ? last[ones]-- : next[ones]++);
        codeword[mirror] = qint16(mirror == code ? codeword[code] : next[ones]++);
    }
    return codeword;
}

// Bars to characters, codewords, the 102-bit value and its FCS, then the tracking code's digits
// and the routing code's. Gives the number of digits, or 0 where the bars make no sense.
qsizetype decode(QStringView bars, std::array<char16_t, 31> &digits)
{
    static const std::array<qint16, 8192> codewordOf = codewordTable();
    std::array<unsigned, 10> characters {};
    for (int bar = 0; bar < 65; ++bar) {
        const char *at = BarTable + 4 * bar;
        const auto hex = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
        characters[at[0] - 'A'] |= unsigned(bars[bar] == u'F' || bars[bar] == u'D') << hex(at[1]);
        characters[at[2] - 'A'] |= unsigned(bars[bar] == u'F' || bars[bar] == u'A') << hex(at[3]);
    }
    unsigned fcs = 0;
    std::array<int, 10> words {};
    for (int i = 0; i < 10; ++i) {
        const bool inverted = codewordOf[characters[i]] < 0;
        words[i] = codewordOf[inverted ? ~characters[i] & 0x1FFF : characters[i]];
        fcs |= unsigned(inverted) << i;
    }
    fcs |= unsigned(words[0] >= 659) << 10;
    words[0] -= words[0] >= 659 ? 659 : 0;
    if (*std::min_element(words.begin(), words.end()) < 0 || words[0] >= 659 || words[9] % 2)
        return 0;
    Wide value = unsigned(words[0]);
    for (int i = 1; i < 9; ++i)
        value = value * 1365 + unsigned(words[i]);
    value = value * 636 + unsigned(words[9] / 2);
    unsigned crc = 0x7FF;
    for (int bit = 101; bit >= 0; --bit)
        crc = (crc << 1 ^ ((crc >> 10 ^ unsigned(value >> bit)) & 1 ? 0xF35 : 0)) & 0x7FF;
    for (int i = 19; i >= 0; --i) {
        const unsigned base = i == 1 ? 5 : 10; // the barcode ID's second digit is 0 to 4
        digits[i] = char16_t(u'0' + unsigned(value % base));
        value /= base;
    }
    const int kind = (value >= 1) + (value >= 100001) + (value >= 1000100001);
    quint64 routing = quint64(value) - std::array<quint64, 4> {0, 1, 100001, 1000100001}[kind];
    const qsizetype length = 20 + std::array {0, 5, 9, 11}[kind];
    for (qsizetype i = length - 1; i >= 20; --i, routing /= 10)
        digits[i] = char16_t(u'0' + routing % 10);
    return crc == fcs && routing == 0 ? length : 0;
}

} // namespace

// Input: "TRACKING-ROUTING" (Latin-1); without a dash, a tracking code alone.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text
        = QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype dash = text.indexOf(u'-');
    const QStringView tracking = QStringView(text).left(dash);
    const QStringView routing = dash < 0 ? QStringView() : QStringView(text).mid(dash + 1);
    const IntelligentMail::Encoding encoding = IntelligentMail::encode(tracking, routing);
    FUZZ_CHECK(encoding.error.isEmpty() != encoding.bars.isEmpty());
    if (!encoding.error.isEmpty())
        return 0;
    FUZZ_CHECK(encoding.bars.size() == 65
        && std::all_of(encoding.bars.begin(), encoding.bars.end(),
            [](QChar bar) { return QStringView(u"FADT").contains(bar); }));
    std::array<char16_t, 31> digits {};
    const qsizetype length = decode(encoding.bars, digits);
    FUZZ_CHECK(length > 0 && QStringView(digits.data(), 20) == tracking
        && QStringView(digits.data() + 20, length - 20) == routing);
    return 0;
}
