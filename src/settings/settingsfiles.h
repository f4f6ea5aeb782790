#pragma once

#include <QLatin1StringView>

// The nine one-value files of the settings folder. The names are the program's
// file format: other running copies and earlier runs rely on them.
namespace SettingsFiles {
inline constexpr QLatin1StringView FontSize{"fontsize.txt"};
inline constexpr QLatin1StringView EnvSize{"envsize.txt"};
inline constexpr QLatin1StringView Margin{"margin.txt"};
inline constexpr QLatin1StringView EnvFeed{"envfeed.txt"};
inline constexpr QLatin1StringView PrLogo{"prlogo.txt"};
inline constexpr QLatin1StringView PrPnet{"prpnet.txt"};
inline constexpr QLatin1StringView Logo{"logo.txt"};
inline constexpr QLatin1StringView From{"from.txt"};
inline constexpr QLatin1StringView To{"to.txt"};
} // namespace SettingsFiles
