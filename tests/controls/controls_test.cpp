#include "controls/drawingbox.h"
#include "controls/pictures.h"
#include "logic/postnet.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;
using Pictures::Id;

// Shows the box on the screen, then gives it its size: a new backing image.
void showOn(DrawingBox &box, QScreen *screen, QSize size)
{
    box.setGeometry(QRect(screen->geometry().topLeft(), QSize(10, 10)));
    box.winId();
    box.windowHandle()->setScreen(screen);
    box.show();
    box.resize(size);
    QCOMPARE(box.devicePixelRatioF(), screen->devicePixelRatio());
}

// The screen of that pixel ratio.
QScreen *screenAt(qreal ratio)
{
    return QGuiApplication::screens().at(QList<qreal> {1.0, 1.25, 1.5, 2.0}.indexOf(ratio));
}

class ControlsTest : public QObject
{
    Q_OBJECT

private slots:
    // Boxes in twips cover the device pixels whose centres they hold, at each screen's ratio.
    void drawingBoxCoversPixelsByTheirCentres()
    {
        const int twips = DrawingSurface::Twips;
        const QRectF bar(50, 50, 15, 190);
        const std::tuple<qreal, int, QRectF, QRect> table[] = {{1.0, twips, bar, {3, 3, 1, 13}},
            {1.25, twips, bar, {4, 4, 1, 16}}, {1.5, twips, bar, {5, 5, 2, 19}},
            {2.0, twips, bar, {7, 7, 2, 25}}, {1.25, twips, {65, 240, -15, -190}, {4, 4, 1, 16}},
            {2.0, twips, {0, 0, 3, 3}, {0, 0, 1, 1}},
            {1.5, twips, {-30, -30, 60, 60}, {0, 0, 3, 3}},
            {1.0, DrawingSurface::Centimeters, {0.1, 0.1, 0.1, 0.1}, {4, 4, 4, 4}}};
        for (const auto &[ratio, scaleMode, box, pixels] : table) {
            DrawingBox drawing;
            showOn(drawing, screenAt(ratio), {200, 30});
            drawing.setBackColor(Qt::white);
            drawing.setScaleMode(scaleMode);
            drawing.Line(
                float(box.left()), float(box.top()), float(box.right()), float(box.bottom()));
            const QImage shown = drawing.grab().toImage();
            QCOMPARE(TestSupport::darkBounds(shown, 128), pixels);
            QCOMPARE(shown.pixel(pixels.topLeft()), qRgb(0, 0, 0));
            drawing.resize(220, 30); // a larger box keeps what was drawn
            QCOMPARE(TestSupport::darkBounds(drawing.grab().toImage(), 128), pixels);
        }
    }

    // A ZIP+4 fills the preview strip whole on every screen, bars of one width. Run again on a
    // screen of 120 dpi at a ratio of 1, as the layout's 15 twips to a pixel must hold there too.
    void barCodeFillsTheStrip()
    {
        if (qEnvironmentVariableIntValue("QUILLMARK_TEST_DPI") == 120)
            QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 120.0);
        for (QScreen *screen : QGuiApplication::screens()) {
            DrawingBox strip;
            showOn(strip, screen, {4320 / 15, 330 / 15});
            strip.setBackColor(Qt::white);
            strip.setCurrentX(50);
            strip.setCurrentY(50);
            basPostNet::DrawPostNet(u"12180-1234"_s, strip);
            const QList<int> bars = TestSupport::darkColumnRuns(strip.grab().toImage());
            QCOMPARE(bars.size(), 52);
            QCOMPARE(bars.count(bars.constFirst()), 52);
        }
    }

    // Each picture from the nearest rendering at or above the ratio, scaled to the device size.
    void pictures()
    {
        const std::tuple<Id, const char *, QSize, qreal, int> table[]
            = {{Id::Envelope, "envelope", {700, 350}, 1.0, 100},
                {Id::PrinterLeft, "printer-left", {112, 140}, 1.1, 125},
                {Id::PrinterRight, "printer-right", {112, 140}, 1.25, 125},
                {Id::PrinterCenter, "printer-center", {112, 140}, 1.3, 150},
                {Id::EnvelopeSmall, "envelope-small", {58, 34}, 1.5, 150},
                {Id::EnvelopeLong, "envelope-long", {80, 34}, 1.75, 200},
                {Id::EnvelopeLarge, "envelope-large", {90, 62}, 3.0, 200},
                {Id::LogoPlaceholder, "logo-placeholder", {64, 64}, 3.0, 400},
                {Id::Envelope, "envelope", {700, 350}, 0.0, 100}};
        for (const auto &[id, name, size, ratio, rendered] : table) {
            QCOMPARE(Pictures::pixelSize(id), size);
            const qreal shown = ratio > 0 ? ratio : 1.0;
            QFile file(u":/pictures/%1-%2.argb"_s.arg(QLatin1StringView(name)).arg(rendered));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray words = file.readAll(); // little-endian, as this machine's
            const QSize at = (QSizeF(size) * rendered / 100.0).toSize();
            QCOMPARE(words.size(), at.width() * at.height() * 4);
            QImage expected(reinterpret_cast<const uchar *>(words.constData()), at.width(),
                at.height(), QImage::Format_ARGB32_Premultiplied);
            expected = expected.scaled(
                (QSizeF(size) * shown).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            expected.setDevicePixelRatio(shown);
            QCOMPARE(Pictures::render(id, ratio).convertToFormat(expected.format()), expected);
        }
        const QImage envelope = Pictures::render(Id::Envelope, 1.0);
        QCOMPARE(envelope.pixel(350, 175), qRgb(0xFF, 0xFF, 0xC0)); // its pale yellow
        QCOMPARE(qAlpha(envelope.pixel(0, 0)), 0);
        const QIcon icon = Pictures::windowIcon();
        for (const int side : {16, 32, 64}) {
            QVERIFY(icon.availableSizes().contains(QSize(side, side)));
            const QImage image = icon.pixmap(QSize(side, side), 1.0).toImage();
            QVERIFY(qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(side / 2, side / 2)) > 0);
        }
    }
};

// A screen per pixel ratio, scaled by Qt: offscreen's own "dpr" is ignored by Qt 6.8.
int main(int argc, char *argv[])
{
    QTemporaryFile config;
    if (!config.open())
        return 1;
    // QUILLMARK_TEST_DPI=120: one screen of 120 dpi whose pixels the toolkit does not scale.
    if (qEnvironmentVariableIntValue("QUILLMARK_TEST_DPI") == 120) {
        config.write(
            R"({"screens":[{"name":"a","x":0,"y":0,"width":800,"height":600,"logicalDpi":120}]})");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    } else {
        config.write(R"({"screens":[
            {"name":"a","x":0,"y":0,"width":800,"height":600,"logicalDpi":96},
            {"name":"b","x":800,"y":0,"width":800,"height":600,"logicalDpi":96},
            {"name":"c","x":1600,"y":0,"width":800,"height":600,"logicalDpi":96},
            {"name":"d","x":2400,"y":0,"width":800,"height":600,"logicalDpi":96}]})");
        qputenv("QT_SCREEN_SCALE_FACTORS", "a=1;b=1.25;c=1.5;d=2");
    }
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
    QApplication app(argc, argv);
    ControlsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "controls_test.moc"
