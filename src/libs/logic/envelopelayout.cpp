#include "envelopelayout.h"

#include <cmath>

namespace {

using namespace EnvelopeGeometry;

bool isEnvelopeSize(int value)
{
    return value >= 0 && value <= 2;
}

bool isFontPosition(int value)
{
    return value >= 0 && value <= 2;
}

double recipientOffsetX(int envelopeSize)
{
    switch (envelopeSize) {
    case 0:
        return 7;
    case 2:
        return 9.5;
    default:
        return 8.5;
    }
}

// Return and recipient anchor y of the small and long envelopes; the three
// feed positions lie 5 cm apart.
double returnYForSide(FeedSide side)
{
    switch (side) {
    case FeedSide::Center:
        return 6.5;
    case FeedSide::Left:
        return 1.5;
    case FeedSide::Right:
        break;
    }
    return 11.5;
}

} // namespace

EnvelopeChoice resolveSelection(const EnvelopeSelection &selection)
{
    EnvelopeChoice choice;
    if (selection.envelopeSize && isEnvelopeSize(*selection.envelopeSize))
        choice.envelopeSize = *selection.envelopeSize;
    if (selection.feedSide)
        choice.feedSide = *selection.feedSide;
    if (selection.fontPosition && isFontPosition(*selection.fontPosition))
        choice.fontPosition = *selection.fontPosition;
    const double inches = selection.marginInches;
    if (std::isfinite(inches) && std::abs(inches) <= MaxEdgeSpaceInches)
        choice.marginInches = inches;
    return choice;
}

EnvelopeLayout layoutFor(int envelopeSize, FeedSide side, double marginInches)
{
    const double m = CmPerInch * marginInches;
    EnvelopeLayout layout;
    layout.returnX = m + 0.2;
    layout.recipientX = m + recipientOffsetX(envelopeSize);
    if (envelopeSize == 2) {
        // The large envelope fills the feed path: the side changes nothing.
        layout.returnY = 1;
        layout.recipientY = 9.5;
    } else {
        layout.returnY = returnYForSide(side);
        layout.recipientY = layout.returnY + 2;
    }
    return layout;
}

EnvelopeLayout layoutFor(const EnvelopeChoice &choice)
{
    return layoutFor(choice.envelopeSize, choice.feedSide, choice.marginInches);
}

double recipientFontPoints(int fontPosition)
{
    switch (fontPosition) {
    case 0:
        return 10;
    case 2:
        return 18;
    default:
        return 14;
    }
}

double recipientLineStep(int fontPosition)
{
    switch (fontPosition) {
    case 0:
        return 0.5;
    case 2:
        return 0.75;
    default:
        return 0.6;
    }
}

PageBox logoBox(const EnvelopeLayout &layout)
{
    return {layout.returnX, layout.returnY, LogoSide, LogoSide};
}

PagePoint returnLinePosition(const EnvelopeLayout &layout, bool logoOn, int k)
{
    const double x = logoOn ? layout.returnX + ReturnTextShiftWithLogo : layout.returnX;
    return {x, layout.returnY + ReturnLineStep * k};
}

PagePoint recipientLinePosition(const EnvelopeLayout &layout, int fontPosition, int k)
{
    return {layout.recipientX,
        layout.recipientY + FirstRecipientLineOffset + recipientLineStep(fontPosition) * k};
}

PagePoint barCodePosition(const EnvelopeLayout &layout, int fontPosition, int recipientLineCount)
{
    const PagePoint slotAfterLast = recipientLinePosition(layout, fontPosition, recipientLineCount);
    return {slotAfterLast.x, slotAfterLast.y + BarCodeGap};
}
