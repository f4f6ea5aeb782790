#include "app/pictures.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using Pictures::Id;

namespace {

const QColor paleYellow(0xFF, 0xFF, 0xC0);

bool isBlueish(QColor colour)
{
    return colour.blue() > 150 && colour.blue() > colour.red() + 60
        && colour.blue() > colour.green() + 30;
}

int countPixels(const QImage &image, const QRect &area, bool (*matches)(QColor))
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += matches(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
}

} // namespace

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void rendersAtItsSize_data();
    void rendersAtItsSize();
    void envelopeIsPaleYellowWithBlueStamp();
    void placeholderIsPaleYellowWithBlueWords();
    void iconHasSmallSizesAndTransparentMargin();
};

void PicturesTest::rendersAtItsSize_data()
{
    QTest::addColumn<Id>("id");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("path");
    QTest::newRow("envelope") << Id::Envelope << QSize(700, 350) << u":/pictures/envelope.svg"_s;
    QTest::newRow("printer left") << Id::PrinterLeft << QSize(112, 140)
                                  << u":/pictures/printer-left.svg"_s;
    QTest::newRow("printer right")
        << Id::PrinterRight << QSize(112, 140) << u":/pictures/printer-right.svg"_s;
    QTest::newRow("printer center")
        << Id::PrinterCenter << QSize(112, 140) << u":/pictures/printer-center.svg"_s;
    QTest::newRow("small") << Id::EnvelopeSmall << QSize(58, 34)
                           << u":/pictures/envelope-small.svg"_s;
    QTest::newRow("long") << Id::EnvelopeLong << QSize(80, 34) << u":/pictures/envelope-long.svg"_s;
    QTest::newRow("large") << Id::EnvelopeLarge << QSize(90, 62)
                           << u":/pictures/envelope-large.svg"_s;
    QTest::newRow("placeholder") << Id::LogoPlaceholder << QSize(64, 64)
                                 << u":/pictures/logo-placeholder.svg"_s;
}

void PicturesTest::rendersAtItsSize()
{
    QFETCH(Id, id);
    QFETCH(QSize, size);
    QFETCH(QString, path);

    QCOMPARE(Pictures::resourcePath(id), path);
    QVERIFY(QFile::exists(path));
    QCOMPARE(Pictures::pixelSize(id), size);

    const QImage single = Pictures::render(id);
    QCOMPARE(single.size(), size);
    QCOMPARE(single.devicePixelRatio(), 1.0);
    QSet<QRgb> colours;
    for (int y = 0; y < single.height() && colours.size() < 2; ++y) {
        for (int x = 0; x < single.width(); ++x)
            colours.insert(single.pixel(x, y));
    }
    QVERIFY(colours.size() > 1);

    const QImage dense = Pictures::render(id, 2.0);
    QCOMPARE(dense.size(), size * 2);
    QCOMPARE(dense.devicePixelRatio(), 2.0);
    QCOMPARE(dense.deviceIndependentSize().toSize(), size);
}

void PicturesTest::envelopeIsPaleYellowWithBlueStamp()
{
    const QImage envelope = Pictures::render(Id::Envelope);
    QCOMPARE(envelope.pixelColor(350, 175), paleYellow);
    QVERIFY(countPixels(envelope, QRect(590, 15, 90, 95), isBlueish) > 1000);
    // The working fields lie on an empty face.
    QCOMPARE(countPixels(envelope, QRect(30, 30, 540, 230), isBlueish), 0);
}

void PicturesTest::placeholderIsPaleYellowWithBlueWords()
{
    const QImage placeholder = Pictures::render(Id::LogoPlaceholder);
    const int yellow
        = countPixels(placeholder, placeholder.rect(), [](QColor c) { return c == paleYellow; });
    QVERIFY(yellow > 64 * 64 / 2);
    QVERIFY(countPixels(placeholder, placeholder.rect(), isBlueish) > 50);
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
