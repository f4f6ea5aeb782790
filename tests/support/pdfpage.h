#pragma once

#include <QHash>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QString>

// The first page of a PDF as poppler's tools (pdfinfo, pdftotext, pdftoppm)
// see it. Positions are in centimetres or pixels from the origin given, the
// top-left corner of the printable area in points from the paper's corner.
class PdfPage
{
public:
    explicit PdfPage(QString path, QPointF originPoints = {}, int renderDpi = 600);

    [[nodiscard]] int pageCount() const;
    [[nodiscard]] bool isLandscape() const;
    // The word's box; NaN when the page lacks the word.
    [[nodiscard]] QRectF wordBox(const QString &word) const;
    // The top-left corner of the word's box; NaN when the page lacks the word.
    [[nodiscard]] QPointF wordAt(const QString &word) const { return wordBox(word).topLeft(); }
    // The pixels of about the colour inside the area, rendered at renderDpi.
    [[nodiscard]] QRect pixelsOf(const QRectF &areaCm, QRgb colour) const;

private:
    [[nodiscard]] QString info(const QString &field) const;

    QString m_path;
    QPointF m_originPoints;
    int m_renderDpi;
    QHash<QString, QRectF> m_words; // first occurrence, in centimetres
};
