// Renders an SVG picture at the given size: into a PNG for the icon sizes the
// desktop's icon theme looks for, and into bare pixels (".argb": premultiplied
// ARGB words, little-endian, row after row) for the window's pictures at each
// device pixel ratio, which the program then takes without decoding.
//
//   iconrender <input.svg> <size>|<width>x<height> <output.png|output.argb>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int MinSize = 1;
constexpr int MaxSize = 4096;

int fail(const char *message, const char *detail)
{
    std::fprintf(stderr, "iconrender: %s%s\n", message, detail);
    return 1;
}

bool writePixels(const QImage &image, const QString &path)
{
    QByteArray words(image.sizeInBytes(), Qt::Uninitialized);
    qToLittleEndian<quint32>(image.constBits(), image.width() * image.height(), words.data());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(words) == words.size() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures with text need the font database, hence a GUI application; the
    // build needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4)
        return fail("usage: iconrender <input.svg> <size> <output.png|output.argb>", "");

    const QStringList sides = QString::fromLocal8Bit(argv[2]).split(u'x');
    if (sides.size() > 2)
        return fail("size out of range: ", argv[2]);
    bool widthIsNumber = false;
    bool heightIsNumber = false;
    const int width = sides.first().toInt(&widthIsNumber);
    const int height = sides.last().toInt(&heightIsNumber);
    if (!widthIsNumber || !heightIsNumber || width < MinSize || width > MaxSize || height < MinSize
        || height > MaxSize)
        return fail("size out of range: ", argv[2]);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return fail("cannot read SVG picture ", argv[1]);

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();

    const QString output = QString::fromLocal8Bit(argv[3]);
    const bool written = output.endsWith(QLatin1StringView(".argb")) ? writePixels(image, output)
                                                                     : image.save(output, "PNG");
    if (!written)
        return fail("cannot write ", argv[3]);
    return 0;
}
