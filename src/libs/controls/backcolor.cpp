#include "backcolor.h"

#include <QPalette>
#include <QWidget>

namespace BackColor {

void set(QWidget *widget, QRgb color)
{
    QPalette pal = widget->palette();
    // Text boxes paint their Base, closed drop-down lists their Button.
    pal.setColor(QPalette::Base, QColor(color));
    pal.setColor(QPalette::Button, QColor(color));
    pal.setColor(QPalette::Window, QColor(color));
    for (const QPalette::ColorRole role :
        {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, QColor(Text));
    widget->setPalette(pal);
}

QRgb of(const QWidget *widget)
{
    return widget->palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

} // namespace BackColor
