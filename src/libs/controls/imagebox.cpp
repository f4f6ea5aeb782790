#include "imagebox.h"

#include "click.h"

#include <QPainter>

ImageBox::ImageBox(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void ImageBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void ImageBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

void ImageBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(event, this))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
