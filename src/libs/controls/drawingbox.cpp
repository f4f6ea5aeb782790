#include "drawingbox.h"

#include "layouttwips.h"
#include "platform/screen.h"

#include <QLoggingCategory>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// A box edge in device pixels: the nearest pixel boundary, so a box covers the
// pixels whose centres it contains. Kept inside the image; NaN lands on 0.
[[nodiscard]] double snappedEdge(double devicePosition)
{
    return std::floor(devicePosition + 0.5);
}

// Twips to device pixels, at the scale the window is laid out in.
[[nodiscard]] double devicePixelsPerTwip(qreal ratio)
{
    return ratio / LayoutTwips::PerPixel;
}

[[nodiscard]] int clampedEdge(double edge, int limit)
{
    if (!(edge > 0.0))
        return 0;
    return edge > limit ? limit : static_cast<int>(edge);
}

// The width is rounded once rather than at each edge, so boxes of one width
// (the bars of a bar code) are one width in device pixels at any scale; the
// top and bottom are each snapped, so boxes that share a line keep sharing it.
[[nodiscard]] QRect deviceBox(double left, double top, double right, double bottom, QSize bounds)
{
    const double rounded = std::floor(right - left + 0.5);
    const double width = rounded >= 1.0 ? rounded : 1.0; // NaN too
    left = snappedEdge(left);
    right = left + width;
    top = snappedEdge(top);
    bottom = std::max(snappedEdge(bottom), top + 1.0);
    const int l = clampedEdge(left, bounds.width());
    const int t = clampedEdge(top, bounds.height());
    const int r = clampedEdge(right, bounds.width());
    const int b = clampedEdge(bottom, bounds.height());
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

} // namespace

DrawingBox::DrawingBox(QWidget *parent)
    : QWidget(parent)
    , m_backColor(palette().color(QPalette::Window))
{
    // The backing image covers the whole widget, and a larger widget keeps
    // what was drawn at the top left.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
}

void DrawingBox::setBackColor(const QColor &color)
{
    m_backColor = color;
    ensureBackingImage();
    m_image.fill(m_backColor);
    ++m_drawingCount;
    updateWhole();
}

void DrawingBox::Cls()
{
    ensureBackingImage();
    m_image.fill(m_backColor);
    setCurrentX(0.0f);
    setCurrentY(0.0f);
    ++m_drawingCount;
    updateWhole();
}

float DrawingBox::ScaleWidth() const
{
    const qreal ratio = devicePixelRatioF();
    const double devicePixels = qCeil(width() * ratio);
    return pen().fromTwips(devicePixels / devicePixelsPerTwip(ratio));
}

float DrawingBox::TwipsPerPixelX() const
{
    return Screen::TwipsPerPixelX();
}

// A bar code is a Line per bar, each following a Cls that has just checked
// the pixel ratio: asking the widget for it again costs more than the bar.
// The size is checked here, as that is free.
void DrawingBox::Line(float x1, float y1, float x2, float y2)
{
    if (m_image.isNull() || m_imageMadeFor != size())
        ensureBackingImage();
    ++m_drawingCount;
    const QRect box = deviceRectFor(x1, y1, x2, y2);
    if (box.isEmpty())
        return;
    const QRgb black = qRgb(0, 0, 0);
    uchar *const bits = m_image.bits(); // one detach for all rows
    const qsizetype stride = m_image.bytesPerLine();
    for (int row = box.top(); row <= box.bottom(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(bits + row * stride);
        std::fill(line + box.left(), line + box.right() + 1, black);
    }
    updateDevicePixels(box);
}

void DrawingBox::updateWhole()
{
    update();
    m_wholeUpdatePending = true;
}

void DrawingBox::updateDevicePixels(const QRect &box)
{
    if (m_wholeUpdatePending)
        return;
    const qreal ratio = m_image.devicePixelRatio();
    update(QRectF(box.x() / ratio, box.y() / ratio, box.width() / ratio, box.height() / ratio)
               .toAlignedRect());
}

QRect DrawingBox::deviceRectFor(float x1, float y1, float x2, float y2) const
{
    const double scale = devicePixelsPerTwip(m_image.devicePixelRatio());
    const double left = pen().toTwips(std::min(x1, x2)) * scale;
    const double right = pen().toTwips(std::max(x1, x2)) * scale;
    const double top = pen().toTwips(std::min(y1, y2)) * scale;
    const double bottom = pen().toTwips(std::max(y1, y2)) * scale;
    return deviceBox(left, top, right, bottom, m_image.size());
}

void DrawingBox::paintEvent(QPaintEvent *event)
{
    m_wholeUpdatePending = false;
    ensureBackingImage();
    const QRect exposed = event->rect();
    const qreal ratio = m_image.devicePixelRatio();
    const QRectF source(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio);
    QPainter painter(this);
    painter.drawImage(QRectF(exposed), m_image, source);
}

void DrawingBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensureBackingImage();
}

// Re-creates the image when the widget's size or pixel ratio changed. The old
// drawing is copied over at its place; after a change of pixel ratio it is
// scaled and stays visible, though only the next drawing is crisp again.
void DrawingBox::ensureBackingImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(qCeil(width() * ratio), qCeil(height() * ratio));
    m_imageMadeFor = size();
    if (m_image.size() == deviceSize && m_image.devicePixelRatio() == ratio)
        return;

    // Opaque, as the box paints every pixel itself: painting it is a copy, not a blend.
    QImage fresh(deviceSize, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(ratio);
    fresh.fill(m_backColor);
    if (!m_image.isNull() && !fresh.isNull()) {
        QPainter painter(&fresh);
        painter.drawImage(QPointF(0, 0), m_image);
    }
    m_image = std::move(fresh);
    ++m_drawingCount;
}
