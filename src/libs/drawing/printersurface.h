#pragma once

#include "drawingsurface.h"

#include <QImage>
#include <QString>

// The printer as the print job uses it: a drawing surface for the bar code plus
// the page operations. Positions are measured from the top-left corner of the
// printable area, in the current ScaleMode.
class PrinterSurface : public DrawingSurface
{
public:
    virtual void setLandscape() = 0;
    virtual void setFontSize(double points) = 0;
    // The one on/off font attribute the job switches: bold.
    virtual void setFontBold(bool on) = 0;
    // Draws the text with its top-left corner at the pen.
    virtual void Print(const QString &line) = 0;
    // Scales the picture to fill the box (current unit).
    virtual void PaintPicture(const QImage &picture, float x, float y, float width, float height)
        = 0;
    // Finishes the page and sends the job; false when the printer failed.
    virtual bool EndDoc() = 0;
    // Drops a job whose page was begun but must not be sent.
    virtual void abortDoc() = 0;
    // False once a drawing operation failed.
    [[nodiscard]] virtual bool isOk() const = 0;
};
