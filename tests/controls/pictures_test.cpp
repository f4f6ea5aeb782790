#include "controls/pictures.h"

#include <QSet>
#include <QTest>

using Pictures::Id;

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void rendersAtItsSize_data();
    void rendersAtItsSize();
    void iconHasSmallSizesAndTransparentMargin();
};

void PicturesTest::rendersAtItsSize_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QSize>("size");
    QTest::newRow("envelope") << Id::Envelope << QSize(700, 350);
    QTest::newRow("printer left") << Id::PrinterLeft << QSize(112, 140);
    QTest::newRow("printer right") << Id::PrinterRight << QSize(112, 140);
    QTest::newRow("printer center") << Id::PrinterCenter << QSize(112, 140);
    QTest::newRow("small") << Id::EnvelopeSmall << QSize(58, 34);
    QTest::newRow("long") << Id::EnvelopeLong << QSize(80, 34);
    QTest::newRow("large") << Id::EnvelopeLarge << QSize(90, 62);
    QTest::newRow("placeholder") << Id::LogoPlaceholder << QSize(64, 64);
}

// Drawn at its size on a plain, a fractional and a dense screen, and not blank.
void PicturesTest::rendersAtItsSize()
{
    QFETCH(Id, id);
    QFETCH(QSize, size);
    QCOMPARE(Pictures::pixelSize(id), size);

    const QImage single = Pictures::render(id);
    QCOMPARE(single.size(), size);
    QSet<QRgb> colours;
    for (int y = 0; y < single.height() && colours.size() < 2; ++y) {
        for (int x = 0; x < single.width(); ++x)
            colours.insert(single.pixel(x, y));
    }
    QVERIFY(colours.size() > 1);

    const QImage dense = Pictures::render(id, 2.0);
    QCOMPARE(dense.size(), size * 2);
    QCOMPARE(dense.deviceIndependentSize().toSize(), size);

    // Between the ratios it was rendered at, scaled down from the next finer one.
    const QImage between = Pictures::render(id, 1.3);
    QCOMPARE(between.size(), (QSizeF(size) * 1.3).toSize());
    QCOMPARE(between.deviceIndependentSize().toSize(), size);
}

void PicturesTest::iconHasSmallSizesAndTransparentMargin()
{
    const QIcon icon = Pictures::windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 32}) {
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        const QImage image = icon.pixmap(side).toImage();
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QVERIFY(qAlpha(image.pixel(side / 2, side / 2)) > 0);
    }
}

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
