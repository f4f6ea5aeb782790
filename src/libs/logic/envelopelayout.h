#pragma once

#include "settings/feedside.h"

#include <optional>

// Where things go on one printed envelope. Every value is in centimetres on the
// landscape page, measured from the top-left corner of the printable area;
// x runs along the feed direction, y across it.

// The two anchors the envelope size, feed side and edge space select.
struct EnvelopeLayout
{
    double returnX = 0;
    double returnY = 0;
    double recipientX = 0;
    double recipientY = 0;
};

struct PagePoint
{
    double x = 0;
    double y = 0;
};

struct PageBox
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// What the window has selected; nothing when no button or list entry is.
struct EnvelopeSelection
{
    std::optional<int> envelopeSize; // OptSize index: 0 small, 1 long, 2 large
    std::optional<FeedSide> feedSide;
    std::optional<int> fontPosition; // cmbSize index: 0 Small, 1 Medium, 2 Large
    double marginInches = 0;
};

// A selection with every choice made.
struct EnvelopeChoice
{
    int envelopeSize = 1;
    FeedSide feedSide = FeedSide::Right;
    int fontPosition = 1;
    double marginInches = 0;
};

namespace EnvelopeGeometry {
inline constexpr double CmPerInch = 2.54;
inline constexpr double LogoSide = 1.5;
inline constexpr double ReturnTextShiftWithLogo = 2;
inline constexpr double ReturnLineStep = 0.5;
inline constexpr double ReturnFontPoints = 10;
inline constexpr double FirstRecipientLineOffset = 1;
inline constexpr double BarCodeGap = 0.5;
} // namespace EnvelopeGeometry

// An edge space beyond this is no envelope's: it is printed as none.
inline constexpr double MaxEdgeSpaceInches = 100;

// A missing or unknown choice falls back to what a fresh start selects:
// the long envelope fed on the right, and Medium for the recipient font; an
// edge space that is not a number or is beyond the limit, to none.
[[nodiscard]] EnvelopeChoice resolveSelection(const EnvelopeSelection &selection);

// Any size other than 0 to 2 is laid out as the long envelope (1).
[[nodiscard]] EnvelopeLayout layoutFor(int envelopeSize, FeedSide side, double marginInches);
[[nodiscard]] EnvelopeLayout layoutFor(const EnvelopeChoice &choice);

// Recipient text by cmbSize position; any other position counts as Medium.
[[nodiscard]] double recipientFontPoints(int fontPosition);
[[nodiscard]] double recipientLineStep(int fontPosition);

[[nodiscard]] PageBox logoBox(const EnvelopeLayout &layout);
// Top-left corner of return-address line k (k from 0).
[[nodiscard]] PagePoint returnLinePosition(const EnvelopeLayout &layout, bool logoOn, int k);
// Top-left corner of recipient line k (k from 0).
[[nodiscard]] PagePoint recipientLinePosition(
    const EnvelopeLayout &layout, int fontPosition, int k);
// Top-left corner of the bar code under recipient lines, empty ones included.
[[nodiscard]] PagePoint barCodePosition(
    const EnvelopeLayout &layout, int fontPosition, int recipientLineCount);
