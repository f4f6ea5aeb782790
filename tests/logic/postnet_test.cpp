#include "logic/postnet.h"
#include "support/recordingsurface.h"

#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The bar code these digits (check digit included) must give: F for a full
// bar, h for a half bar, with the frame bars.
QString framedBars(QStringView digits)
{
    static const std::array<QString, 10> table {u"FFhhh"_s, u"hhhFF"_s, u"hhFhF"_s, u"hhFFh"_s,
        u"hFhhF"_s, u"hFhFh"_s, u"hFFhh"_s, u"FhhhF"_s, u"FhhFh"_s, u"FhFhh"_s};
    QString bars = u"F"_s;
    for (QChar digit : digits)
        bars += table[static_cast<std::size_t>(digit.unicode() - u'0')];
    return digits.isEmpty() ? QString() : bars + u'F';
}

} // namespace

class PostNetTest : public QObject
{
    Q_OBJECT

private slots:
    void bar_data()
    {
        QTest::addColumn<float>("pixelSize");
        QTest::addColumn<qint32>("kind");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("top");
        QTest::newRow("96 dpi") << 15.0f << basPostNet::FullBar << 15.0f << 0.0f;
        QTest::newRow("120 dpi, raised to the minimum")
            << 12.0f << basPostNet::HalfBar << 15.0f << 120.0f;
        QTest::newRow("144 dpi") << 10.0f << qint32(2) << 20.0f << 120.0f;
        QTest::newRow("188 dpi, within the margin") << 7.67f << qint32(-1) << 23.0f << 120.0f;
        QTest::newRow("192 dpi, half to even") << 7.5f << basPostNet::FullBar << 22.0f << 0.0f;
        QTest::newRow("240 dpi") << 6.0f << basPostNet::FullBar << 18.0f << 0.0f;
        QTest::newRow("300 dpi") << 4.8f << basPostNet::FullBar << 24.0f << 0.0f;
        QTest::newRow("400 dpi") << 3.6f << basPostNet::FullBar << 22.0f << 0.0f;
        QTest::newRow("1200 dpi") << 1.2f << basPostNet::FullBar << 24.0f << 0.0f;
        QTest::newRow("huge pixels") << 100.0f << basPostNet::FullBar << 15.0f << 0.0f;
        QTest::newRow("no pixel size") << 0.0f << basPostNet::FullBar << 15.0f << 0.0f;
    }

    // The widest whole number of device pixels in 15 to 24 twips, at the pen;
    // the pen moves one pitch of 67 twips.
    void bar()
    {
        QFETCH(float, pixelSize);
        QFETCH(qint32, kind);
        QFETCH(float, width);
        QFETCH(float, top);
        RecordingSurface surface(pixelSize);
        surface.setCurrentX(100);
        surface.setCurrentY(200);
        basPostNet::DrawBar(surface, kind);
        const RecordingSurface::Box box = surface.boxes().value(0);
        QCOMPARE(QRectF(QPointF(box.x1, box.y1), QPointF(box.x2, box.y2)),
            QRectF(QPointF(100, 200 + top), QPointF(100 + width, 390)));
        QCOMPARE(QPointF(surface.CurrentX(), surface.CurrentY()), QPointF(167, 200));
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
        QCOMPARE(printer.boxes().value(0).scaleMode, DrawingSurface::Twips);
        QCOMPARE(printer.boxes().value(0).x1, 2.0f * twipsPerCentimetre);
    }

    void encodesDigitsWithCheckDigit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bars");
        QTest::newRow("12345, check digit 5")
            << u"12345"_s << u"F hhhFF hhFhF hhFFh hFhhF hFhFh hFhFh F"_s.remove(u' ');
        QTest::newRow("blanks, letters and dashes anywhere")
            << u" a1-2 b3x4--5z "_s << framedBars(u"123455");
        QTest::newRow("0 gives 12 bars") << u"0"_s << u"FFFhhhFFhhhF"_s;
        QTest::newRow("ZIP+4 with dash") << u"12345-6789"_s << framedBars(u"1234567895");
        QTest::newRow("check digit 1") << u"99920"_s << framedBars(u"999201");
        // 4,999 nines and an 8 sum to 44,999, far past a 16-bit sum.
        const QString nines = QString(4999, u'9') + u'8';
        QTest::newRow("5,000 digits") << nines << framedBars(nines + u'1');
        QTest::newRow("empty draws nothing") << QString() << QString();
        QTest::newRow("no digits draw nothing") << u"Springfield - IL"_s << QString();
    }

    void encodesDigitsWithCheckDigit()
    {
        QFETCH(QString, text);
        QFETCH(QString, bars);
        RecordingSurface surface;
        surface.setCurrentX(50);
        surface.setCurrentY(60);
        basPostNet::DrawPostNet(text, surface);
        QString drawn;
        for (const RecordingSurface::Box &box : surface.boxes())
            drawn.append(box.y1 == 60 ? u'F' : u'h');
        QCOMPARE(drawn, bars);
        QCOMPARE(surface.CurrentX(), 50.0f + 67.0f * static_cast<float>(bars.size()));
        QCOMPARE(surface.CurrentY(), 60.0f);
    }
};

QTEST_MAIN(PostNetTest)
#include "postnet_test.moc"
