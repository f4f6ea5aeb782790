#include "controls/pictures.h"

#include <QIcon>
#include <QTest>

using Pictures::Id;

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    // The rendering at the nearest ratio at or above the one asked for,
    // scaled to the exact device size.
    void rendersAtItsSize_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("rendered");
        QTest::newRow("envelope 1") << Id::Envelope << "envelope" << QSize(700, 350) << 1.0 << 100;
        QTest::newRow("left 1.1") << Id::PrinterLeft << "printer-left" << QSize(112, 140) << 1.1
                                  << 125;
        QTest::newRow("right 1.25")
            << Id::PrinterRight << "printer-right" << QSize(112, 140) << 1.25 << 125;
        QTest::newRow("center 1.3")
            << Id::PrinterCenter << "printer-center" << QSize(112, 140) << 1.3 << 150;
        QTest::newRow("small 1.5")
            << Id::EnvelopeSmall << "envelope-small" << QSize(58, 34) << 1.5 << 150;
        QTest::newRow("long 1.75")
            << Id::EnvelopeLong << "envelope-long" << QSize(80, 34) << 1.75 << 200;
        QTest::newRow("large 3") << Id::EnvelopeLarge << "envelope-large" << QSize(90, 62) << 3.0
                                 << 200;
        QTest::newRow("placeholder 3")
            << Id::LogoPlaceholder << "logo-placeholder" << QSize(64, 64) << 3.0 << 400;
        QTest::newRow("no ratio") << Id::Envelope << "envelope" << QSize(700, 350) << 0.0 << 100;
    }

    void rendersAtItsSize()
    {
        QFETCH(Id, id);
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(int, rendered);
        QCOMPARE(Pictures::pixelSize(id), size);
        const QImage image = Pictures::render(id, ratio);
        const qreal shown = ratio > 0 ? ratio : 1.0;
        const QSize device = (QSizeF(size) * shown).toSize();
        QImage expected(QStringLiteral(":/pictures/%1-%2.png").arg(name).arg(rendered));
        QVERIFY(!expected.isNull());
        expected = expected.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        expected.setDevicePixelRatio(shown);
        QCOMPARE(image.size(), device);
        QCOMPARE(image.convertToFormat(expected.format()), expected);
    }

    void iconHasSmallSizesAndTransparentMargin()
    {
        const QIcon icon = Pictures::windowIcon();
        for (const int side : {16, 32, 64}) {
            QVERIFY(icon.availableSizes().contains(QSize(side, side)));
            const QImage image = icon.pixmap(side).toImage();
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QVERIFY(qAlpha(image.pixel(side / 2, side / 2)) > 0);
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
