#pragma once

// One full envelope (logo, 4-line return address, 5-line recipient, ZIP+4 bar
// code) printed through the window to a PDF printer, beside the same page
// drawn with plain QPainter calls on a PDF QPrinter.
struct PrintFigures
{
    double ms = 0; // from the accepted dialog to the ended document, median
    double pdfKiB = 0;
    double anchorMs = 0;
    double anchorPdfKiB = 0;
};

// Needs no running application: makes its own when there is none.
[[nodiscard]] PrintFigures measurePrint(int runs);
