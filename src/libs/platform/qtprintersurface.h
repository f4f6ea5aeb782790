#pragma once

#include "drawing/printersurface.h"

#include <QFont>
#include <QImage>
#include <QLoggingCategory>
#include <QRectF>
#include <QString>

#include <variant>
#include <vector>

class QPainter;
class QPrinter;

Q_DECLARE_LOGGING_CATEGORY(lcPrinter)

// The printer the user confirmed, as a drawing surface. Positions are measured
// from the top-left corner of the printable area. The pen starts at (0, 0) in
// twips; Print and Line leave it where it is.
//
// The page is held here and only painted onto the printer by EndDoc: Qt's
// printer cannot take back a page once painting has begun (QPrinter::abort does
// nothing on the PDF and CUPS engines), so this is what keeps a page that a
// failure interrupted from ever being sent. abortDoc simply drops it.
class QtPrinterSurface final : public PrinterSurface
{
public:
    explicit QtPrinterSurface(QPrinter &printer);
    ~QtPrinterSurface() override;
    QtPrinterSurface(const QtPrinterSurface &) = delete;
    QtPrinterSurface &operator=(const QtPrinterSurface &) = delete;

    // To the paper's right edge: the page of the current orientation less the
    // printable area's left margin.
    [[nodiscard]] float ScaleWidth() const override;
    // From the printer's own resolution, so a bar is a whole number of dots.
    [[nodiscard]] float TwipsPerPixelX() const override;
    void Line(float x1, float y1, float x2, float y2) override;

    // Takes effect for the page EndDoc sends, whenever it is called before it.
    void setLandscape() override;
    void setFontSize(double points) override;
    void setFontBold(bool on) override;
    void Print(const QString &line) override;
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override;
    // Paints the held page onto the printer and ends the document. With nothing
    // drawn nothing is sent. False when a drawing operation failed before, or
    // the printer cannot begin or finish the document.
    bool EndDoc() override;
    void abortDoc() override;
    [[nodiscard]] bool isOk() const override { return m_ok; }

    // Paints the held page with a painter already active on the printer: the
    // pages of a longer document, one at a time.
    void paintPage(QPainter &painter) const;

private:
    struct TextItem
    {
        QPointF topLeftTwips;
        QFont font;
        QString text;
    };
    struct BoxItem
    {
        QRectF boxTwips;
    };
    struct PictureItem
    {
        QRectF boxTwips;
        QImage picture;
    };
    using PageItem = std::variant<TextItem, BoxItem, PictureItem>;

    [[nodiscard]] QRectF boxInTwips(float x1, float y1, float x2, float y2) const;
    void fail(const char *what);
    bool paintOwnPage();
    void paintItem(QPainter &painter, const PageItem &item) const;
    [[nodiscard]] double devicePixelsPerTwip() const;

    QPrinter &m_printer;
    QFont m_font;
    std::vector<PageItem> m_page;
    bool m_ok = true;
};
