#include "picturebox.h"

#include "click.h"

#include <QPainter>

namespace {
constexpr int BorderWidth = 2;
}

PictureBox::PictureBox(QSize pictureSize, Renderer renderer, QWidget *parent)
    : QFrame(parent)
    , m_renderer(std::move(renderer))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    setFixedSize(pictureSize + QSize(2 * BorderWidth, 2 * BorderWidth));
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || !qFuzzyCompare(m_cache.devicePixelRatio(), ratio))
        m_cache = m_renderer(ratio);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_cache);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(event, this))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}
