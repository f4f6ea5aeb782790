#include "pictures.h"
#include "platform/pictureloader.h"

#include <QImageReader>
#include <QLoggingCategory>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

#include <array>

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
        return {QLatin1StringView("envelope"), {700, 350}};
    case Id::PrinterLeft:
        return {QLatin1StringView("printer-left"), {112, 140}};
    case Id::PrinterRight:
        return {QLatin1StringView("printer-right"), {112, 140}};
    case Id::PrinterCenter:
        return {QLatin1StringView("printer-center"), {112, 140}};
    case Id::EnvelopeSmall:
        return {QLatin1StringView("envelope-small"), {58, 34}};
    case Id::EnvelopeLong:
        return {QLatin1StringView("envelope-long"), {80, 34}};
    case Id::EnvelopeLarge:
        return {QLatin1StringView("envelope-large"), {90, 62}};
    case Id::LogoPlaceholder:
        return {QLatin1StringView("logo-placeholder"), {64, 64}};
    }
    Q_UNREACHABLE();
    return {};
}

// The ratios the pictures were rendered at when the program was built, in
// per cent, and the finer one only the placeholder has.
constexpr std::array<int, 4> RenderedPercents {100, 125, 150, 200};
constexpr int PlaceholderPercent = 400;

QString pathOf(QLatin1StringView name, int percent)
{
    return QStringLiteral(":/pictures/%1-%2.argb").arg(name).arg(percent);
}

// The size a picture was rendered at: its own times the ratio, rounded half up.
QSize renderedSize(QSize size, int percent)
{
    return {(size.width() * percent + 50) / 100, (size.height() * percent + 50) / 100};
}

// The build's rendering: premultiplied ARGB words, little-endian, row after
// row, which need no decoding. The image keeps the unpacked bytes themselves,
// so they are held once. Null when the bytes do not fill the size.
QImage loadPixels(const QString &path, QSize size)
{
    auto *words = new QByteArray(QResource(path).uncompressedData());
    if (size.isEmpty() || words->size() != qsizetype(size.width()) * size.height() * 4) {
        delete words;
        return {};
    }
    qFromLittleEndian<quint32>(words->constData(), words->size() / 4, words->data());
    return QImage(
        reinterpret_cast<uchar *>(words->data()), size.width(), size.height(), size.width() * 4,
        QImage::Format_ARGB32_Premultiplied,
        [](void *bytes) { delete static_cast<QByteArray *>(bytes); }, words);
}

// Qt's own PNG reader (for the window icon), told not to guess: guessing loads
// every image-format plug-in to ask it, and with them the SVG library start-up
// does without.
QImage loadPng(const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The rendering at the nearest ratio at or above the one asked for (the
// finest there is above that), scaled down smoothly where the ratios differ,
// so the picture stays sharp at fractional ratios too.
QImage renderAt(Id id, qreal ratio)
{
    if (!(ratio > 0.0)) // also catches NaN
        ratio = 1.0;
    const PictureFile file = fileOf(id);
    int percent = id == Id::LogoPlaceholder ? PlaceholderPercent : RenderedPercents.back();
    for (const int rendered : RenderedPercents) {
        if (rendered >= ratio * 100.0) {
            percent = rendered;
            break;
        }
    }
    const QSize size = (QSizeF(file.size) * ratio).toSize();
    QImage image = loadPixels(pathOf(file.name, percent), renderedSize(file.size, percent));
    if (image.isNull()) {
        qCWarning(lcPictures) << "Cannot load picture" << pathOf(file.name, percent);
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    } else if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

QImage render(Id id, qreal devicePixelRatio)
{
    return renderAt(id, devicePixelRatio);
}

QImage logoPlaceholder()
{
    return render(Id::LogoPlaceholder, 4.0);
}

QIcon windowIcon()
{
    QIcon icon;
    // The window needs its 16 and 32 pixel icons, and twice that on HiDPI
    // screens; the desktop menu takes the installed icons instead.
    for (const int side : {16, 32, 64})
        icon.addPixmap(
            QPixmap::fromImage(loadPng(QStringLiteral(":/pictures/icon-%1.png").arg(side))));
    return icon;
}

} // namespace Pictures
