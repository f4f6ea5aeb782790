#pragma once

#include "envelopelayout.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class DrawingSurface;
class PrinterSurface;

// Everything that goes on one envelope, already read and resolved.
struct EnvelopePageContent
{
    EnvelopeLayout layout;
    bool printLogo = false;
    QImage logo;
    // Empty when there is no return address to print.
    QStringList returnLines;
    QStringList recipientLines;
    int fontPosition = 1; // cmbSize: 0 Small, 1 Medium, 2 Large
    bool printBarCode = false;
    QString zipDigits;
};

// The lines an address box's text prints as: the text as it is saved (with
// CR LF after it), read line by line. An empty box is one empty line, and a
// text that ends with a line break has an empty line at its end.
[[nodiscard]] QStringList printedLines(const QString &boxText);

// What every envelope of a print shares: the choices, the return address as its
// box holds it, the logo and the two switches.
struct EnvelopeLook
{
    EnvelopeChoice choice;
    QString returnAddress;
    bool printLogo = false;
    QImage logo;
    bool printBarCode = false;
};

// The page of one envelope for the recipient's text (as its box holds it, lines
// joined by CR LF) and the ZIP digits of its bar code. An empty return address
// prints none at all.
[[nodiscard]] EnvelopePageContent envelopeContent(
    const EnvelopeLook &look, const QString &recipient, const QString &zipDigits);

// Draws the bar code of the digits at the surface's pen.
using BarCodeDrawer = std::function<void(const QString &digits, DrawingSurface &surface)>;

// Composes the envelope on the printer: landscape page in centimetres, logo,
// return address, recipient address and bar code, in that order. The document
// is neither ended nor dropped here; that is the caller's decision.
class EnvelopePage
{
public:
    EnvelopePage(EnvelopePageContent content, BarCodeDrawer drawBarCode);

    // False as soon as the printer reports a failure; nothing more is drawn then.
    [[nodiscard]] bool compose(PrinterSurface &printer) const;

private:
    void setUpPage(PrinterSurface &printer) const;
    void drawLogo(PrinterSurface &printer) const;
    void printReturnAddress(PrinterSurface &printer) const;
    void printRecipientAddress(PrinterSurface &printer) const;
    void drawBarCode(PrinterSurface &printer) const;

    EnvelopePageContent m_content;
    BarCodeDrawer m_drawBarCode;
};
