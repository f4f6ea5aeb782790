#pragma once

#include "drawing/drawingsurface.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// USPS Intelligent Mail barcodes (USPS-B-3200): the mailer's fields, the 65
// bars they encode to, and those bars drawn in twips on any surface.
//
// The tracking code is 20 digits: barcode ID (2), service type (3), Mailer ID
// (6 or 9) and serial (9 or 6). The routing code is the ZIP Code's 0, 5, 9 or
// 11 digits. Only the ASCII digits 0 to 9 count as digits.
namespace IntelligentMail {

// The fields of a run of envelopes, as written on the command line.
struct Fields
{
    QString barcodeId;
    QString serviceType;
    QString mailerId;
    QString firstSerial;
};

struct ParsedFields
{
    Fields fields;
    QString error; // empty when every field is valid
};

struct Encoding
{
    // 65 letters, left to right: F full bar, A ascender, D descender, T tracker.
    QString bars;
    QString error; // empty when there are bars
};

// Each check gives an empty text for a valid field, else a sentence naming it.
// Two digits, the second 0 to 4.
[[nodiscard]] QString checkBarcodeId(QStringView barcodeId);
// Three digits.
[[nodiscard]] QString checkServiceType(QStringView serviceType);
// Six digits starting with 0 to 8, or nine starting with 9.
[[nodiscard]] QString checkMailerId(QStringView mailerId);
// Six digits after a Mailer ID that starts with 9, nine after any other.
[[nodiscard]] QString checkSerial(QStringView serial, QStringView mailerId);
// 0, 5, 9 or 11 digits.
[[nodiscard]] QString checkRoutingCode(QStringView routingCode);
// The first problem of the four fields, in their order.
[[nodiscard]] QString checkFields(const Fields &fields);

// "BARCODE_ID,SERVICE_TYPE,MAILER_ID,FIRST_SERIAL": four fields, nothing trimmed.
[[nodiscard]] ParsedFields parseFields(QStringView commandLine);

// Empty when every envelope of the run has a serial as wide as the first
// serial; else says how far the run goes past the largest one.
[[nodiscard]] QString checkSerialRun(const Fields &fields, qint64 envelopeCount);

// The tracking code of envelope k of the run, k from 0: the first serial plus
// k, zero-padded to its width. Empty when the fields are invalid, k is
// negative or that serial would be wider.
[[nodiscard]] QString trackingCode(const Fields &fields, qint64 envelope);

// The bars of a 20-digit tracking code and a routing code, or the refusal of
// the first that is wrong (the barcode ID's check for the tracking code).
[[nodiscard]] Encoding encode(QStringView trackingCode, QStringView routingCode);

// Sizes in twips. Every bar spans part of the full bar's height: a full bar
// all of it, an ascender the top two thirds, a descender the bottom two
// thirds and a tracker the middle third (USPS-B-3200: full bar 0.125 to 0.165
// in, tracker 0.039 to 0.057 in).
inline constexpr float BarPitch = 1440.0f / 22; // 22 bars an inch (20 to 24 allowed)
inline constexpr float FullBarHeight = 210; // 0.146 in
inline constexpr float TrackerTop = 70; // 0.049 in below the top of a full bar
inline constexpr float TrackerBottom = 140; // a tracker 0.049 in high

// The bars cover symbolWidth() by FullBarHeight from the pen; the caller
// places the pen so that this much around them stays clear of print:
// 0.125 in left and right, 0.028 in above and below.
inline constexpr float QuietZoneLeftRight = 180;
inline constexpr float QuietZoneAboveBelow = 40.32f;

// From the left edge of the first bar to the right edge of the last, in
// twips, on this surface (the bar width follows its pixels).
[[nodiscard]] float symbolWidth(const DrawingSurface &surface);

// Draws one bar per letter of `bars` (F full, A ascender, D descender, any
// other letter a tracker), the first with the top-left corner of its full
// height at the pen, each one BarPitch right of the one before. A bar is a
// whole number of the surface's pixels wide, within 0.015 to 0.025 in; a
// pixel too coarse for that gives the nearest allowed width. Afterwards the
// pen stands one pitch right of the last bar, at the same height, and the
// surface's unit is the same as before.
void drawBars(QStringView bars, DrawingSurface &surface);

} // namespace IntelligentMail
