#include "controls/drawingbox.h"

#include <QTest>

namespace {

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

// Bars, clearing and repainting are checked through the window's bar code preview.
class DrawingBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void boxCoversPixelsByTheirCentres_data()
    {
        QTest::addColumn<int>("scaleMode");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QRect>("pixels");
        const int twips = DrawingSurface::Twips;
        QTest::newRow("full bar") << twips << QRectF(50, 50, 15, 190) << QRect(3, 3, 1, 13);
        QTest::newRow("half bar") << twips << QRectF(50, 170, 15, 70) << QRect(3, 11, 1, 5);
        QTest::newRow("edges past centres") << twips << QRectF(9, 9, 15, 15) << QRect(1, 1, 1, 1);
        QTest::newRow("under a pixel") << twips << QRectF(0, 0, 3, 3) << QRect(0, 0, 1, 1);
        QTest::newRow("corners swapped")
            << twips << QRectF(65, 240, -15, -190) << QRect(3, 3, 1, 13);
        QTest::newRow("partly outside") << twips << QRectF(-30, -30, 60, 60) << QRect(0, 0, 2, 2);
        QTest::newRow("centimetres")
            << int(DrawingSurface::Centimeters) << QRectF(0.1, 0.1, 0.1, 0.1) << QRect(4, 4, 4, 4);
    }

    void boxCoversPixelsByTheirCentres()
    {
        QFETCH(int, scaleMode);
        QFETCH(QRectF, box);
        DrawingBox drawing;
        drawing.resize(200, 30);
        drawing.setBackColor(Qt::white);
        drawing.setScaleMode(scaleMode);
        drawing.Line(float(box.left()), float(box.top()), float(box.right()), float(box.bottom()));
        QTEST(darkBounds(drawing.grab().toImage()), "pixels");
    }
};

QTEST_MAIN(DrawingBoxTest)
#include "drawingbox_test.moc"
