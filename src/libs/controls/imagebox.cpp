#include "imagebox.h"

#include "click.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

ImageBox::ImageBox(QWidget *parent)
    : QWidget(parent)
{
    // A mouse click opens a dialog and leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void ImageBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_shown = QImage();
    update();
}

// Scaled when the picture, the box's size or its pixel ratio changes, not on
// every repaint.
const QImage &ImageBox::shownPicture()
{
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_shown.size() != device || m_shown.devicePixelRatio() != ratio) {
        m_shown = m_picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_shown.setDevicePixelRatio(ratio);
    }
    return m_shown;
}

void ImageBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawImage(rect(), shownPicture());
    if (hasFocus())
        paintFocusFrame(painter);
}

// The style's focus rectangle alone can be a faint dotted line on a busy
// picture; a solid frame in the highlight colour under it stays visible.
void ImageBox::paintFocusFrame(QPainter &painter) const
{
    constexpr int Width = 2;
    painter.setPen(QPen(palette().color(QPalette::Highlight), Width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(Width / 2, Width / 2, -Width / 2, -Width / 2));
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(Width, Width, -Width, -Width);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void ImageBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(event, this))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void ImageBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
