#pragma once

#include <QMouseEvent>
#include <QWidget>

// A click on a picture control: the left button let go over the control.
[[nodiscard]] inline bool isClick(const QMouseEvent *event, const QWidget *widget)
{
    return event->button() == Qt::LeftButton
        && widget->rect().contains(event->position().toPoint());
}
