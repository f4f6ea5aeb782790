#include "pdfpage.h"
#include "testsupport.h"

#include <QImage>
#include <QRegularExpression>

#include <limits>
#include <utility>

namespace {

constexpr double PointsPerCm = 72 / 2.54;

bool isNear(QRgb pixel, QRgb colour)
{
    constexpr int tolerance = 60;
    return qAbs(qRed(pixel) - qRed(colour)) < tolerance
        && qAbs(qGreen(pixel) - qGreen(colour)) < tolerance
        && qAbs(qBlue(pixel) - qBlue(colour)) < tolerance;
}

} // namespace

PdfPage::PdfPage(QString path, QPointF originPoints, int renderDpi)
    : m_path(std::move(path))
    , m_originPoints(originPoints)
    , m_renderDpi(renderDpi)
{
    const QString xhtml = QString::fromUtf8(TestSupport::runTool(QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), m_path,
            QStringLiteral("-")}));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (const QRegularExpressionMatch &match : word.globalMatch(xhtml)) {
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        if (!m_words.contains(match.captured(5))) {
            m_words.insert(match.captured(5),
                QRectF((topLeft - m_originPoints) / PointsPerCm,
                    (bottomRight - m_originPoints) / PointsPerCm));
        }
    }
}

int PdfPage::pageCount() const
{
    return info(QStringLiteral("Pages")).toInt();
}

bool PdfPage::isLandscape() const
{
    // "841.89 x 595.276 pts (A4)"
    const QStringList size = info(QStringLiteral("Page size")).split(u' ');
    return size.size() >= 3 && size[0].toDouble() > size[2].toDouble();
}

QRectF PdfPage::wordBox(const QString &word) const
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    return m_words.value(word, QRectF(none, none, none, none));
}

QRect PdfPage::pixelsOf(const QRectF &areaCm, QRgb colour) const
{
    const double pixelsPerCm = m_renderDpi / 2.54;
    const QPoint origin = (m_originPoints * m_renderDpi / 72).toPoint();
    const QRect area = QRectF(areaCm.topLeft() * pixelsPerCm, areaCm.size() * pixelsPerCm)
                           .toAlignedRect()
                           .translated(origin);
    // Without an output name pdftoppm writes the picture to its standard output.
    const QImage image = QImage::fromData(TestSupport::runTool(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(m_renderDpi), QStringLiteral("-x"),
            QString::number(area.x()), QStringLiteral("-y"), QString::number(area.y()),
            QStringLiteral("-W"), QString::number(area.width()), QStringLiteral("-H"),
            QString::number(area.height()), QStringLiteral("-f"), QStringLiteral("1"),
            QStringLiteral("-singlefile"), QStringLiteral("-png"), m_path}));
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isNear(image.pixel(x, y), colour))
                found |= QRect(x, y, 1, 1);
        }
    }
    return found.translated(area.topLeft() - origin);
}

QString PdfPage::info(const QString &field) const
{
    const QString text
        = QString::fromUtf8(TestSupport::runTool(QStringLiteral("pdfinfo"), {m_path}));
    const QRegularExpression line(
        QStringLiteral("^%1:\\s+(.*)$").arg(QRegularExpression::escape(field)),
        QRegularExpression::MultilineOption);
    return line.match(text).captured(1).trimmed();
}
