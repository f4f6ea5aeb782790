// Renders an SVG picture into a square PNG of the given size, for the icon
// sizes the desktop's icon theme looks for.
//
//   iconrender <input.svg> <size in pixels> <output.png>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

constexpr int MinSize = 1;
constexpr int MaxSize = 1024;

int fail(const char *message, const char *detail)
{
    std::fprintf(stderr, "iconrender: %s%s\n", message, detail);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return fail("usage: iconrender <input.svg> <size> <output.png>", "");

    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    if (!isNumber || size < MinSize || size > MaxSize)
        return fail("size out of range: ", argv[2]);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return fail("cannot read SVG picture ", argv[1]);

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();

    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG"))
        return fail("cannot write ", argv[3]);
    return 0;
}
