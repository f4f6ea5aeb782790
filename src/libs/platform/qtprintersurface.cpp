#include "qtprintersurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

Q_LOGGING_CATEGORY(lcPrinter, "quillmark.printer")

namespace {

template <class... Visitors> struct Overloaded : Visitors...
{
    using Visitors::operator()...;
};
template <class... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>;

QRectF scaled(const QRectF &rect, double factor)
{
    return {rect.topLeft() * factor, rect.size() * factor};
}

} // namespace

QtPrinterSurface::QtPrinterSurface(QPrinter &printer)
    : m_printer(printer)
{ }

// A page that was never ended is dropped, not sent.
QtPrinterSurface::~QtPrinterSurface() = default;

float QtPrinterSurface::ScaleWidth() const
{
    constexpr double TwipsPerPoint = 20.0;
    const QPageLayout layout = m_printer.pageLayout();
    const double points
        = layout.fullRect(QPageLayout::Point).width() - layout.paintRect(QPageLayout::Point).left();
    return pen().fromTwips(points * TwipsPerPoint);
}

float QtPrinterSurface::TwipsPerPixelX() const
{
    return static_cast<float>(ScaledPen::TwipsPerInch / m_printer.resolution());
}

void QtPrinterSurface::Line(float x1, float y1, float x2, float y2)
{
    if (m_ok)
        m_page.emplace_back(BoxItem {boxInTwips(x1, y1, x2, y2)});
}

void QtPrinterSurface::setLandscape()
{
    if (!m_printer.setPageOrientation(QPageLayout::Landscape))
        fail("cannot set the page to landscape");
}

void QtPrinterSurface::setFontSize(double points)
{
    if (points > 0)
        m_font.setPointSizeF(points);
    else
        qCWarning(lcPrinter) << "ignoring font size" << points;
}

void QtPrinterSurface::setFontBold(bool on)
{
    m_font.setBold(on);
}

void QtPrinterSurface::Print(const QString &line)
{
    if (m_ok)
        m_page.emplace_back(TextItem {{pen().xTwips(), pen().yTwips()}, m_font, line});
}

void QtPrinterSurface::PaintPicture(
    const QImage &picture, float x, float y, float width, float height)
{
    if (!m_ok)
        return;
    if (picture.isNull()) {
        fail("no picture to draw");
        return;
    }
    m_page.emplace_back(PictureItem {boxInTwips(x, y, x + width, y + height), picture});
}

bool QtPrinterSurface::EndDoc()
{
    const bool sent = m_ok && (m_page.empty() || paintOwnPage());
    m_page.clear();
    return sent;
}

void QtPrinterSurface::abortDoc()
{
    m_page.clear();
}

QRectF QtPrinterSurface::boxInTwips(float x1, float y1, float x2, float y2) const
{
    return QRectF(QPointF(pen().toTwips(x1), pen().toTwips(y1)),
        QPointF(pen().toTwips(x2), pen().toTwips(y2)))
        .normalized();
}

void QtPrinterSurface::fail(const char *what)
{
    qCWarning(lcPrinter, "Printer %s: %s", qUtf8Printable(m_printer.printerName()), what);
    m_ok = false;
    m_page.clear();
}

void QtPrinterSurface::paintPage(QPainter &painter) const
{
    for (const PageItem &item : m_page)
        paintItem(painter, item);
}

bool QtPrinterSurface::paintOwnPage()
{
    QPainter painter;
    if (!painter.begin(&m_printer)) {
        fail("cannot begin the document");
        return false;
    }
    paintPage(painter);
    if (!painter.end() || m_printer.printerState() == QPrinter::Error) {
        fail("cannot finish the document");
        return false;
    }
    return true;
}

void QtPrinterSurface::paintItem(QPainter &painter, const PageItem &item) const
{
    const double perTwip = devicePixelsPerTwip();
    std::visit(
        Overloaded {
            [&](const TextItem &text) {
                painter.setFont(text.font);
                painter.setPen(Qt::black);
                const QPointF topLeft = text.topLeftTwips * perTwip;
                const double ascent = QFontMetricsF(text.font, painter.device()).ascent();
                painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent), text.text);
            },
            [&](const BoxItem &box) { painter.fillRect(scaled(box.boxTwips, perTwip), Qt::black); },
            [&](const PictureItem &picture) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(scaled(picture.boxTwips, perTwip), picture.picture);
            },
        },
        item);
}

double QtPrinterSurface::devicePixelsPerTwip() const
{
    return m_printer.resolution() / ScaledPen::TwipsPerInch;
}
