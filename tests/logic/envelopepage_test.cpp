#include "logic/envelopepage.h"
#include "support/recordingprinter.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FeedSide)

namespace {

// The anchors of each envelope size and feed side, before the edge space is
// added to x: return address y, recipient x, recipient y.
struct AnchorRow
{
    int size;
    FeedSide side;
    const char *name;
    double returnY;
    double recipientX;
    double recipientY;
};

constexpr AnchorRow AnchorTable[] = {
    {0, FeedSide::Right, "small right", 11.5, 7, 13.5},
    {0, FeedSide::Center, "small centre", 6.5, 7, 8.5},
    {0, FeedSide::Left, "small left", 1.5, 7, 3.5},
    {1, FeedSide::Right, "long right", 11.5, 8.5, 13.5},
    {1, FeedSide::Center, "long centre", 6.5, 8.5, 8.5},
    {1, FeedSide::Left, "long left", 1.5, 8.5, 3.5},
    {2, FeedSide::Right, "large right", 1, 9.5, 9.5},
    {2, FeedSide::Center, "large centre", 1, 9.5, 9.5},
    {2, FeedSide::Left, "large left", 1, 9.5, 9.5},
};
constexpr double FontPoints[] = {10, 14, 18};
constexpr double LineSteps[] = {0.5, 0.6, 0.75};
const QStringList ReturnLines {u"Ann Lee"_s, u"1 Elm St"_s};
const QStringList RecipientLines {u"Bo Ray"_s, u"2 Oak Ave"_s, u"Troy NY 12180"_s};

QString num(double value)
{
    return QString::number(value, 'g', 6);
}

QString printAt(const QString &text, double x, double y)
{
    return u"Print \"%1\" @%2,%3"_s.arg(text, num(x), num(y));
}

// The printer's log without pen moves and unit changes.
QStringList composed(const EnvelopePageContent &content, RecordingPrinter &printer, bool &ok)
{
    // The bar code drawer prints the digits at the pen it is handed.
    ok = EnvelopePage(content, [](const QString &digits, DrawingSurface &surface) {
        static_cast<RecordingPrinter &>(surface).Print(u"bars "_s + digits);
    }).compose(printer);
    QStringList page = printer.log();
    page.removeIf([](const QString &call) {
        return call.startsWith(u"setCurrent"_s) || call.startsWith(u"setScaleMode"_s);
    });
    return page;
}

} // namespace

class EnvelopePageTest : public QObject
{
    Q_OBJECT

private slots:
    void missingChoicesFallBackToTheStartUpDefaults_data()
    {
        QTest::addColumn<std::optional<int>>("size");
        QTest::addColumn<std::optional<FeedSide>>("side");
        QTest::addColumn<std::optional<int>>("font");
        QTest::addColumn<QString>("choice"); // size, side, font
        const std::optional<int> none;
        QTest::newRow("all made") << std::optional(0) << std::optional(FeedSide::Left)
                                  << std::optional(2) << u"0 2 2"_s;
        QTest::newRow("none made") << none << std::optional<FeedSide>() << none << u"1 0 1"_s;
        QTest::newRow("out of range") << std::optional(3) << std::optional(FeedSide::Center)
                                      << std::optional(-1) << u"1 1 1"_s;
    }

    void missingChoicesFallBackToTheStartUpDefaults()
    {
        QFETCH(std::optional<int>, size);
        QFETCH(std::optional<FeedSide>, side);
        QFETCH(std::optional<int>, font);
        const EnvelopeChoice choice = resolveSelection({size, side, font, 3});
        QTEST(u"%1 %2 %3"_s.arg(choice.envelopeSize)
                  .arg(int(choice.feedSide))
                  .arg(choice.fontPosition),
            "choice");
        QCOMPARE(choice.marginInches, 3.0);
    }

    // Every envelope size, feed side, edge space and recipient font.
    void page_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<FeedSide>("side");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("font");
        QTest::addColumn<bool>("logo");
        QTest::addColumn<bool>("barCode");
        QTest::addColumn<QStringList>("page");
        for (const AnchorRow &row : AnchorTable) {
            for (int edge = 0; edge <= 5; ++edge) {
                for (int font = 0; font <= 2; ++font) {
                    const bool logo = edge % 2 == 0;
                    const bool barCode = font != 2;
                    const double m = 2.54 * edge;
                    QStringList page {u"setLandscape"_s};
                    if (logo)
                        page << u"PaintPicture %1 %2 1.5 1.5 \"40x20\""_s.arg(
                            num(m + 0.2), num(row.returnY));
                    page << u"setFontSize 10"_s << u"setFontBold 0"_s;
                    for (int k = 0; k < ReturnLines.size(); ++k)
                        page << printAt(
                            ReturnLines[k], m + 0.2 + (logo ? 2 : 0), row.returnY + 0.5 * k);
                    page << u"setFontSize %1"_s.arg(num(FontPoints[font])) << u"setFontBold 1"_s;
                    const double y = row.recipientY + 1;
                    for (int k = 0; k < RecipientLines.size(); ++k)
                        page << printAt(
                            RecipientLines[k], m + row.recipientX, y + LineSteps[font] * k);
                    if (barCode)
                        page << printAt(
                            u"bars 12180"_s, m + row.recipientX, y + LineSteps[font] * 3 + 0.5);
                    QTest::addRow("%s, %d in, font %d", row.name, edge, font)
                        << row.size << row.side << edge << font << logo << barCode << page;
                }
            }
        }
    }

    void page()
    {
        QFETCH(int, size);
        QFETCH(FeedSide, side);
        QFETCH(int, edge);
        QFETCH(int, font);
        QFETCH(bool, logo);
        QFETCH(bool, barCode);
        const EnvelopePageContent content {layoutFor(size, side, edge), logo,
            QImage(40, 20, QImage::Format_RGB32), ReturnLines, RecipientLines, font, barCode,
            u"12180"_s};
        RecordingPrinter printer;
        bool ok = false;
        QTEST(composed(content, printer, ok), "page");
        QVERIFY(ok);
    }

    // A printer that fails stops the page at the failing call.
    void failingPrinter_data()
    {
        QTest::addColumn<int>("failFrom");
        QTest::newRow("first return line") << 7;
        QTest::newRow("first recipient line") << 15;
        QTest::newRow("bar code") << 24;
    }

    void failingPrinter()
    {
        QFETCH(int, failFrom);
        RecordingPrinter printer;
        printer.failFromCall(failFrom);
        bool ok = true;
        composed({layoutFor(1, FeedSide::Center, 2), true, QImage(40, 20, QImage::Format_RGB32),
                     ReturnLines, RecipientLines, 1, true, u"1"_s},
            printer, ok);
        QVERIFY(!ok);
        QCOMPARE(printer.log().size(), failFrom + 1);
    }
};

QTEST_MAIN(EnvelopePageTest)
#include "envelopepage_test.moc"
