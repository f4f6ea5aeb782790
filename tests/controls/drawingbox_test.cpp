#include "controls/drawingbox.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QWindow>

namespace {

const QList<qreal> Ratios {1.0, 1.25, 1.5, 2.0};

QRect darkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class DrawingBoxTest : public QObject
{
    Q_OBJECT

private slots:
    // Boxes in twips, 15 to a logical pixel; the pixels as device pixels.
    void coversPixelsByTheirCentres_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("scaleMode");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QRect>("pixels");
        const int twips = DrawingSurface::Twips;
        const QRectF bar(50, 50, 15, 190);
        QTest::newRow("bar 1") << 1.0 << twips << bar << QRect(3, 3, 1, 13);
        QTest::newRow("bar 1.25") << 1.25 << twips << bar << QRect(4, 4, 1, 16);
        QTest::newRow("bar 1.5") << 1.5 << twips << bar << QRect(5, 5, 2, 19);
        QTest::newRow("bar 2") << 2.0 << twips << bar << QRect(7, 7, 2, 25);
        QTest::newRow("swapped 1.25")
            << 1.25 << twips << QRectF(65, 240, -15, -190) << QRect(4, 4, 1, 16);
        QTest::newRow("under a pixel 2") << 2.0 << twips << QRectF(0, 0, 3, 3) << QRect(0, 0, 1, 1);
        QTest::newRow("partly outside 1.5")
            << 1.5 << twips << QRectF(-30, -30, 60, 60) << QRect(0, 0, 3, 3);
        QTest::newRow("centimetres") << 1.0 << int(DrawingSurface::Centimeters)
                                     << QRectF(0.1, 0.1, 0.1, 0.1) << QRect(4, 4, 4, 4);
    }

    void coversPixelsByTheirCentres()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, scaleMode);
        QFETCH(QRectF, box);
        QScreen *screen = QGuiApplication::screens().at(Ratios.indexOf(ratio));
        DrawingBox drawing;
        drawing.setGeometry(QRect(screen->geometry().topLeft(), QSize(10, 10)));
        drawing.winId();
        drawing.windowHandle()->setScreen(screen);
        drawing.show();
        drawing.resize(200, 30); // a new backing image at the same ratio
        QCOMPARE(drawing.devicePixelRatioF(), ratio);
        drawing.setBackColor(Qt::white);
        drawing.setScaleMode(scaleMode);
        drawing.Line(float(box.left()), float(box.top()), float(box.right()), float(box.bottom()));
        QTEST(darkBounds(drawing.grab().toImage()), "pixels");
    }
};

// One offscreen screen for each pixel ratio, scaled by Qt itself: the
// offscreen platform's own "dpr" is not honoured by every Qt release.
int main(int argc, char *argv[])
{
    QTemporaryFile config;
    if (!config.open())
        return 1;
    config.write(R"({"screens":[
        {"name":"a","x":0,"y":0,"width":800,"height":600,"logicalDpi":96},
        {"name":"b","x":800,"y":0,"width":800,"height":600,"logicalDpi":96},
        {"name":"c","x":1600,"y":0,"width":800,"height":600,"logicalDpi":96},
        {"name":"d","x":2400,"y":0,"width":800,"height":600,"logicalDpi":96}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
    qputenv("QT_SCREEN_SCALE_FACTORS", "a=1;b=1.25;c=1.5;d=2");
    QApplication app(argc, argv);
    DrawingBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "drawingbox_test.moc"
