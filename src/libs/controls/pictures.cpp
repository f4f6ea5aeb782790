#include "pictures.h"
#include "platform/pictureloader.h"

#include <QLoggingCategory>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

using Pictures::Id;

struct PictureFile
{
    QLatin1StringView name;
    QSize size;
};

PictureFile fileOf(Id id)
{
    switch (id) {
    case Id::Envelope:
        return {QLatin1StringView("envelope.svg"), {700, 350}};
    case Id::PrinterLeft:
        return {QLatin1StringView("printer-left.svg"), {112, 140}};
    case Id::PrinterRight:
        return {QLatin1StringView("printer-right.svg"), {112, 140}};
    case Id::PrinterCenter:
        return {QLatin1StringView("printer-center.svg"), {112, 140}};
    case Id::EnvelopeSmall:
        return {QLatin1StringView("envelope-small.svg"), {58, 34}};
    case Id::EnvelopeLong:
        return {QLatin1StringView("envelope-long.svg"), {80, 34}};
    case Id::EnvelopeLarge:
        return {QLatin1StringView("envelope-large.svg"), {90, 62}};
    case Id::LogoPlaceholder:
        return {QLatin1StringView("logo-placeholder.svg"), {64, 64}};
    }
    Q_UNREACHABLE();
    return {};
}

QString pathOf(QLatin1StringView name)
{
    return QStringLiteral(":/pictures/") + name;
}

QImage renderSvg(const QString &path, QSize size, qreal ratio)
{
    if (!(ratio > 0.0)) // also catches NaN
        ratio = 1.0;
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(image.rect()));
    } else {
        qCWarning(lcPictures) << "Cannot load picture" << path;
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

namespace Pictures {

QSize pixelSize(Id id)
{
    return fileOf(id).size;
}

QString resourcePath(Id id)
{
    return pathOf(fileOf(id).name);
}

QImage render(Id id, qreal devicePixelRatio)
{
    return renderSvg(resourcePath(id), pixelSize(id), devicePixelRatio);
}

QIcon windowIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(
        renderSvg(pathOf(QLatin1StringView("icon-16.svg")), QSize(16, 16), 1.0)));
    // The window needs its 16 and 32 pixel icons, and twice that on HiDPI
    // screens; the desktop menu takes the installed icons instead.
    for (const int side : {32, 64}) {
        icon.addPixmap(QPixmap::fromImage(
            renderSvg(pathOf(QLatin1StringView("icon.svg")), QSize(side, side), 1.0)));
    }
    return icon;
}

} // namespace Pictures
