#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace Screen {

float TwipsPerPixelX()
{
    constexpr float fallback = 15.0f;
    if (!qGuiApp)
        return fallback;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return fallback;
    const qreal dpi = screen->logicalDotsPerInchX();
    if (!(dpi > 0.0))
        return fallback;
    return static_cast<float>(1440.0 / dpi);
}

} // namespace Screen
