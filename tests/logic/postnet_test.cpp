#include "logic/postnet.h"
#include "support/recordingsurface.h"

#include <QTest>

#include <array>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The bars as drawn, F for a full bar and h for a half bar, told by their tops.
QString barsDrawn(const RecordingSurface &surface, float penY)
{
    QString bars;
    for (const RecordingSurface::Box &box : surface.boxes())
        bars.append(box.y1 == penY ? u'F' : u'h');
    return bars;
}

// The bar code these digits (check digit included) must give.
QString framedBars(QStringView digits)
{
    static const std::array<QString, 10> table {u"FFhhh"_s, u"hhhFF"_s, u"hhFhF"_s, u"hhFFh"_s,
        u"hFhhF"_s, u"hFhFh"_s, u"hFFhh"_s, u"FhhhF"_s, u"FhhFh"_s, u"FhFhh"_s};
    QString bars = u"F"_s;
    for (QChar digit : digits)
        bars += table[static_cast<std::size_t>(digit.unicode() - u'0')];
    return bars + u'F';
}

} // namespace

class PostNetTest : public QObject
{
    Q_OBJECT

private slots:
    void barWidthFitsDevicePixels_data()
    {
        QTest::addColumn<float>("pixelSize");
        QTest::addColumn<float>("width");
        QTest::newRow("96 dpi") << 15.0f << 15.0f;
        QTest::newRow("120 dpi, raised to the minimum") << 12.0f << 15.0f;
        QTest::newRow("144 dpi") << 10.0f << 20.0f;
        QTest::newRow("188 dpi, within the margin") << 7.67f << 23.0f;
        QTest::newRow("192 dpi, half to even") << 7.5f << 22.0f;
        QTest::newRow("240 dpi") << 6.0f << 18.0f;
        QTest::newRow("300 dpi") << 4.8f << 24.0f;
        QTest::newRow("400 dpi") << 3.6f << 22.0f;
        QTest::newRow("600 dpi") << 2.4f << 24.0f;
        QTest::newRow("1200 dpi") << 1.2f << 24.0f;
        QTest::newRow("no pixel size") << 0.0f << 15.0f;
    }

    void barWidthFitsDevicePixels()
    {
        QFETCH(float, pixelSize);
        QFETCH(float, width);
        RecordingSurface surface(pixelSize);
        basPostNet::DrawBar(surface, basPostNet::FullBar);
        QCOMPARE(surface.boxes().value(0).x2 - surface.boxes().value(0).x1, width);
    }

    void barShape_data()
    {
        QTest::addColumn<qint32>("kind");
        QTest::addColumn<float>("top");
        QTest::newRow("full") << qint32(1) << 200.0f;
        QTest::newRow("half") << qint32(0) << 320.0f;
        QTest::newRow("2 is half") << qint32(2) << 320.0f;
        QTest::newRow("-1 is half") << qint32(-1) << 320.0f;
    }

    void barShape()
    {
        QFETCH(qint32, kind);
        QFETCH(float, top);
        RecordingSurface screen;
        screen.setCurrentX(100);
        screen.setCurrentY(200);
        basPostNet::DrawBar(screen, kind);

        const RecordingSurface::Box box = screen.boxes().value(0);
        QCOMPARE(QRectF(QPointF(box.x1, box.y1), QPointF(box.x2, box.y2)),
            QRectF(QPointF(100, top), QPointF(115, 390)));
        QCOMPARE(screen.CurrentX(), 167.0f);
        QCOMPARE(screen.CurrentY(), 200.0f);
    }

    void callersUnitIsKept()
    {
        constexpr float twipsPerCentimetre = 1440.0f / 2.54f;
        RecordingSurface printer(4.8f);
        printer.setScaleMode(DrawingSurface::Centimeters);
        printer.setCurrentX(2.0f);
        printer.setCurrentY(3.0f);
        basPostNet::DrawBar(printer, basPostNet::HalfBar);

        QCOMPARE(printer.ScaleMode(), DrawingSurface::Centimeters);
        QCOMPARE(printer.CurrentX(), 2.0f + 67.0f / twipsPerCentimetre);
        QCOMPARE(printer.CurrentY(), 3.0f);
        const RecordingSurface::Box box = printer.boxes().value(0);
        QCOMPARE(box.scaleMode, DrawingSurface::Twips);
        QCOMPARE(box.x1, 2.0f * twipsPerCentimetre);
        QCOMPARE(box.x2 - box.x1, 24.0f);
        QCOMPARE(box.y2 - box.y1, 70.0f);
    }

    void encodesDigitsWithCheckDigit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bars");
        QTest::addColumn<float>("width"); // of the surface, in twips
        constexpr float unbounded = std::numeric_limits<float>::infinity();
        // Frame bar, 1 2 3 4 5, check digit 5, frame bar.
        const QString zip12345 = u"F hhhFF hhFhF hhFFh hFhhF hFhFh hFhFh F"_s.remove(u' ');
        QTest::newRow("12345") << u"12345"_s << zip12345 << unbounded;
        QTest::newRow("blanks, letters and dashes anywhere")
            << u" a1-2 b3x4--5z "_s << zip12345 << unbounded;
        QTest::newRow("0 gives 12 bars") << u"0"_s << u"FFFhhhFFhhhF"_s << unbounded;
        QTest::newRow("ZIP+4 without dash")
            << u"123456789"_s << framedBars(u"1234567895") << unbounded;
        QTest::newRow("ZIP+4 with dash")
            << u"12345-6789"_s << framedBars(u"1234567895") << unbounded;
        QTest::newRow("check digit 1") << u"99920"_s << framedBars(u"999201") << unbounded;
        // 4,999 nines and an 8 sum to 44,999, far past a 16-bit sum.
        const QString nines = QString(4999, u'9') + u'8';
        QTest::newRow("5,000 digits") << nines << framedBars(nines + u'1') << unbounded;
        // Bars start on the pitch from x = 50; one starting at the edge is left out.
        const QString hundred = QString(99, u'9') + u'8' + u'1';
        QTest::newRow("last bar inside the edge")
            << hundred.left(100) << framedBars(hundred) << 50.0f + 67.0f * 506 + 1;
        QTest::newRow("last bar at the edge")
            << hundred.left(100) << framedBars(hundred).left(506) << 50.0f + 67.0f * 506;
        QTest::newRow("5,000 digits on a narrow surface")
            << nines << framedBars(nines + u'1').left(40) << 50.0f + 67.0f * 40;
        QTest::newRow("empty draws nothing") << QString() << QString() << unbounded;
        QTest::newRow("no digits draw nothing") << u"Springfield - IL"_s << QString() << unbounded;
    }

    void encodesDigitsWithCheckDigit()
    {
        QFETCH(QString, text);
        QFETCH(QString, bars);
        QFETCH(float, width);
        RecordingSurface surface;
        surface.setWidthTwips(width);
        surface.setCurrentX(50);
        surface.setCurrentY(60);
        basPostNet::DrawPostNet(text, surface);
        QCOMPARE(barsDrawn(surface, 60), bars);
        QCOMPARE(surface.CurrentX(), 50.0f + 67.0f * static_cast<float>(bars.size()));
        QCOMPARE(surface.CurrentY(), 60.0f);
    }
};

QTEST_MAIN(PostNetTest)
#include "postnet_test.moc"
