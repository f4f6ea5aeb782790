#pragma once

#include <QStringView>

// The nine one-value files of the settings folder. The names are the program's
// file format: other running copies and earlier runs rely on them.
namespace SettingsFiles {
inline constexpr QStringView FontSize {u"fontsize.txt"};
inline constexpr QStringView EnvSize {u"envsize.txt"};
inline constexpr QStringView Margin {u"margin.txt"};
inline constexpr QStringView EnvFeed {u"envfeed.txt"};
inline constexpr QStringView PrLogo {u"prlogo.txt"};
inline constexpr QStringView PrPnet {u"prpnet.txt"};
inline constexpr QStringView Logo {u"logo.txt"};
inline constexpr QStringView From {u"from.txt"};
inline constexpr QStringView To {u"to.txt"};
} // namespace SettingsFiles
