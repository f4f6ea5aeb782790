#pragma once

#include "feedside.h"
#include "settingsstore.h"

#include <QString>

#include <optional>

// How start-up turns each settings file back into a choice. Each rule is a
// pure function of the file's state (absent, or its bytes); the window only
// applies the outcome.
namespace RestoreRules {

// "fontsize.txt": the cmbSize position to select, or nothing.
[[nodiscard]] std::optional<int> fontSize(const SettingsFileState &file);

// "logo.txt": the picture path to try (the last line, when it is not blank),
// or nothing. Whether the path names a loadable picture is the caller's test.
[[nodiscard]] std::optional<QString> logoPath(const SettingsFileState &file);

struct Margin
{
    double marginInches = 0;
    std::optional<int> button; // the optMargin index to select
};
// "margin.txt"
[[nodiscard]] Margin margin(const SettingsFileState &file);

// "prlogo.txt": Check1 on?
[[nodiscard]] bool printLogo(const SettingsFileState &file);

// "prpnet.txt": Check2 on?
[[nodiscard]] bool printPostNet(const SettingsFileState &file);

// "envfeed.txt": the feed side to select, or nothing.
[[nodiscard]] std::optional<FeedSide> feedSide(const SettingsFileState &file);

// "from.txt": the return address, its lines joined with CR LF.
[[nodiscard]] QString returnAddress(const SettingsFileState &file);

// "envsize.txt": the OptSize index to select, or nothing.
[[nodiscard]] std::optional<int> envelopeSize(const SettingsFileState &file);

} // namespace RestoreRules
