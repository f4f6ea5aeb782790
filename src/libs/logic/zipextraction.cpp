#include "zipextraction.h"

#include <algorithm>

namespace {

enum class ScanState
{
    BeforeRun,
    InRun,
    RunClosed
};

[[nodiscard]] bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

[[nodiscard]] bool isZipCharacter(QChar c)
{
    return isDigit(c) || c == u'-';
}

} // namespace

QString extractZipDigits(QStringView recipientText)
{
    // Positions are 1-based. The piece taken starts at the character that
    // closed the run, or at the first character when nothing closed it.
    ScanState state = ScanState::BeforeRun;
    qsizetype runEnd = 1;
    qsizetype runStart = 1;
    for (qsizetype position = recipientText.size(); position >= 1 && state != ScanState::RunClosed;
         --position) {
        const bool zipCharacter = isZipCharacter(recipientText[position - 1]);
        if (zipCharacter && state == ScanState::BeforeRun) {
            state = ScanState::InRun;
            runEnd = position;
        } else if (!zipCharacter && state == ScanState::InRun) {
            runStart = position;
            state = ScanState::RunClosed;
        }
    }

    QString digits;
    for (QChar c : recipientText.mid(runStart - 1, runEnd - runStart + 1)) {
        if (isDigit(c))
            digits.append(c);
    }
    return digits;
}

bool holdsZipCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isZipCharacter);
}
