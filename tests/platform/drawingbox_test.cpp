#include "barcode/postnet.h"
#include "platform/drawingbox.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

[[nodiscard]] bool isDark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Dark pixels per column, for the columns that have any.
QMap<int, int> darkColumns(const QImage &image)
{
    QMap<int, int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (isDark(image, x, y))
                ++columns[x];
        }
    }
    return columns;
}

QRect darkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image, x, y))
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
    void init()
    {
        m_box = std::make_unique<DrawingBox>();
        m_box->resize(200, 30);
        m_box->setBackColor(Qt::white);
    }

    void cleanup() { m_box.reset(); }

    void drawsCrispBars()
    {
        drawZip12345();
        const QMap<int, int> columns = darkColumns(picture());

        // At 96 dpi each bar is one pixel wide, full bars 13 pixels tall, half bars 5.
        QCOMPARE(columns.size(), 32);
        QString drawn;
        for (int height : columns)
            drawn.append(height == 13 ? u'F' : height == 5 ? u'h' : u'?');
        QCOMPARE(drawn,
            u"F"
            "hhhFF"
            "hhFhF"
            "hhFFh"
            "hFhhF"
            "hFhFh"
            "hFhFh"
            "F"_s);
    }

    void boxCoversPixelsByTheirCentres_data()
    {
        QTest::addColumn<int>("scaleMode");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QRect>("pixels");
        const int twips = DrawingSurface::Twips;
        QTest::newRow("bar") << twips << QRectF(50, 50, 15, 190) << QRect(3, 3, 1, 13);
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
        QFETCH(QRect, pixels);
        m_box->setScaleMode(scaleMode);
        m_box->Line(float(box.left()), float(box.top()), float(box.right()), float(box.bottom()));
        QCOMPARE(darkBounds(picture()), pixels);
    }

    void drawingSurvivesRepaints()
    {
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
        drawZip12345();
        const QImage before = picture();

        m_box->hide();
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
        m_box->repaint();
        QCOMPARE(picture(), before);
        QCOMPARE(darkColumns(before).size(), 32);
    }

    void clsClearsToBackColourAndResetsPen()
    {
        drawZip12345();
        m_box->setBackColor(QColor(0xC0, 0xFF, 0xFF));
        m_box->setCurrentX(50);
        m_box->Cls();

        const QImage image = picture();
        QVERIFY(darkBounds(image).isNull());
        QCOMPARE(image.pixelColor(100, 10), QColor(0xC0, 0xFF, 0xFF));
        QCOMPARE(m_box->CurrentX(), 0.0f);
        QCOMPARE(m_box->CurrentY(), 0.0f);
    }

    void unitChangeKeepsPen()
    {
        m_box->setCurrentX(1440.0f);
        m_box->setScaleMode(DrawingSurface::Centimeters);
        QCOMPARE(m_box->CurrentX(), 2.54f);
        m_box->setScaleMode(DrawingSurface::Twips);
        QCOMPARE(m_box->CurrentX(), 1440.0f);
    }

private:
    void drawZip12345()
    {
        m_box->Cls();
        m_box->setCurrentX(50);
        m_box->setCurrentY(50);
        basPostNet::DrawPostNet(u"12345"_s, *m_box);
    }

    [[nodiscard]] QImage picture() const { return m_box->grab().toImage(); }

    std::unique_ptr<DrawingBox> m_box;
};

QTEST_MAIN(DrawingBoxTest)
#include "drawingbox_test.moc"
