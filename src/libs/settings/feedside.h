#pragma once

#include <QStringView>

#include <optional>

// The side of the printer's feed path along which the envelopes run, as the
// buttons name it: "Select &Right Side", "Select &Center", "Select &Left Side".
enum class FeedSide
{
    Right,
    Center,
    Left
};

namespace FeedSides {

// The word "envfeed.txt" holds for the side. The two side buttons store the
// opposite of their captions: files already written depend on that pairing.
[[nodiscard]] QStringView storedWord(FeedSide side);
// The side a stored word stands for, compared exactly and with case.
[[nodiscard]] std::optional<FeedSide> fromStoredWord(QStringView word);

} // namespace FeedSides
