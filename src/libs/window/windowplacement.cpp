#include "windowplacement.h"

namespace WindowPlacement {

QPointF centred(QSizeF screenTwips, QSizeF windowTwips)
{
    return {(screenTwips.width() - windowTwips.width()) / 2,
        (screenTwips.height() - windowTwips.height()) / 2};
}

QString caption(int major, int minor)
{
    return QStringLiteral("Quillmark %1.%2").arg(major).arg(minor);
}

} // namespace WindowPlacement
