#include "feedside.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<FeedSide, QStringView>, 3> StoredWords {{
    {FeedSide::Right, u"left"},
    {FeedSide::Left, u"right"},
    {FeedSide::Center, u"center"},
}};

} // namespace

namespace FeedSides {

QStringView storedWord(FeedSide side)
{
    for (const auto &[each, word] : StoredWords) {
        if (each == side)
            return word;
    }
    return {};
}

std::optional<FeedSide> fromStoredWord(QStringView word)
{
    for (const auto &[side, each] : StoredWords) {
        if (each == word)
            return side;
    }
    return std::nullopt;
}

} // namespace FeedSides
