#include "print/envelopelayout.h"

#include <QTest>

Q_DECLARE_METATYPE(FeedSide)

class EnvelopeLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void anchorsFollowSizeSideAndEdgeSpace_data();
    void anchorsFollowSizeSideAndEdgeSpace();
    void workedExamplePlacesEveryElement();
    void largeEnvelopeIsNotFittedToThePage();
    void recipientLinesAndBarCodeFollowTheFontSize_data();
    void recipientLinesAndBarCodeFollowTheFontSize();
    void missingChoicesFallBackToTheStartUpDefaults_data();
    void missingChoicesFallBackToTheStartUpDefaults();
};

void EnvelopeLayoutTest::anchorsFollowSizeSideAndEdgeSpace_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<FeedSide>("side");
    QTest::addColumn<double>("edgeInches");
    QTest::addColumn<double>("returnX");
    QTest::addColumn<double>("returnY");
    QTest::addColumn<double>("recipientX");
    QTest::addColumn<double>("recipientY");

    struct Row
    {
        const char *name;
        int size;
        FeedSide side;
        double returnOffset, returnY, recipientOffset, recipientY;
    };
    const Row rows[] = {
        {"small right", 0, FeedSide::Right, 0.2, 11.5, 7, 13.5},
        {"small centre", 0, FeedSide::Center, 0.2, 6.5, 7, 8.5},
        {"small left", 0, FeedSide::Left, 0.2, 1.5, 7, 3.5},
        {"long right", 1, FeedSide::Right, 0.2, 11.5, 8.5, 13.5},
        {"long centre", 1, FeedSide::Center, 0.2, 6.5, 8.5, 8.5},
        {"long left", 1, FeedSide::Left, 0.2, 1.5, 8.5, 3.5},
        {"large right", 2, FeedSide::Right, 0.2, 1, 9.5, 9.5},
        {"large centre", 2, FeedSide::Center, 0.2, 1, 9.5, 9.5},
        {"large left", 2, FeedSide::Left, 0.2, 1, 9.5, 9.5},
    };
    const double edgeCentimetres[] = {0, 2.54, 5.08, 7.62, 10.16, 12.7};
    for (const Row &row : rows) {
        for (int inches = 0; inches <= 5; ++inches) {
            const double m = edgeCentimetres[inches];
            QTest::addRow("%s, %d in", row.name, inches)
                << row.size << row.side << double(inches) << m + row.returnOffset << row.returnY
                << m + row.recipientOffset << row.recipientY;
        }
    }
}

void EnvelopeLayoutTest::anchorsFollowSizeSideAndEdgeSpace()
{
    QFETCH(int, size);
    QFETCH(FeedSide, side);
    QFETCH(double, edgeInches);

    const EnvelopeLayout layout = layoutFor(size, side, edgeInches);

    QTEST(layout.returnX, "returnX");
    QTEST(layout.returnY, "returnY");
    QTEST(layout.recipientX, "recipientX");
    QTEST(layout.recipientY, "recipientY");
}

void EnvelopeLayoutTest::workedExamplePlacesEveryElement()
{
    // Long envelope, centre feed, 2 inches, Medium, logo on, three recipient lines.
    const EnvelopeLayout layout = layoutFor(1, FeedSide::Center, 2);

    const PageBox logo = logoBox(layout);
    QCOMPARE(logo.x, 5.28);
    QCOMPARE(logo.x + logo.width, 6.78);
    QCOMPARE(logo.y, 6.5);
    QCOMPARE(logo.y + logo.height, 8.0);

    const double returnYs[] = {6.5, 7.0, 7.5};
    for (int k = 0; k < 3; ++k) {
        const PagePoint line = returnLinePosition(layout, true, k);
        QCOMPARE(line.x, 7.28);
        QCOMPARE(line.y, returnYs[k]);
    }

    const double recipientYs[] = {9.5, 10.1, 10.7};
    for (int k = 0; k < 3; ++k) {
        const PagePoint line = recipientLinePosition(layout, 1, k);
        QCOMPARE(line.x, 13.58);
        QCOMPARE(line.y, recipientYs[k]);
    }

    const PagePoint barCode = barCodePosition(layout, 1, 3);
    QCOMPARE(barCode.x, 13.58);
    QCOMPARE(barCode.y, 11.8);
}

void EnvelopeLayoutTest::largeEnvelopeIsNotFittedToThePage()
{
    const EnvelopeLayout layout = layoutFor(2, FeedSide::Left, 5);
    QCOMPARE(recipientLinePosition(layout, 2, 0).x, 22.2);
}

void EnvelopeLayoutTest::recipientLinesAndBarCodeFollowTheFontSize_data()
{
    QTest::addColumn<int>("fontPosition");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<double>("points");
    QTest::addColumn<double>("secondLineY");
    QTest::addColumn<double>("barCodeY");

    // Small envelope, left feed: recipient anchor y = 3.5, bar code at 5 + s * n.
    QTest::newRow("Small, 1 line") << 0 << 1 << 10.0 << 5.0 << 5.5;
    QTest::newRow("Small, 4 lines") << 0 << 4 << 10.0 << 5.0 << 7.0;
    QTest::newRow("Medium, 0 lines") << 1 << 0 << 14.0 << 5.1 << 5.0;
    QTest::newRow("Medium, 5 lines") << 1 << 5 << 14.0 << 5.1 << 8.0;
    QTest::newRow("Large, 2 lines") << 2 << 2 << 18.0 << 5.25 << 6.5;
    QTest::newRow("Large, 4 lines") << 2 << 4 << 18.0 << 5.25 << 8.0;
}

void EnvelopeLayoutTest::recipientLinesAndBarCodeFollowTheFontSize()
{
    QFETCH(int, fontPosition);
    QFETCH(int, lineCount);

    const EnvelopeLayout layout = layoutFor(0, FeedSide::Left, 0);

    QTEST(recipientFontPoints(fontPosition), "points");
    QCOMPARE(recipientLinePosition(layout, fontPosition, 0).y, 4.5);
    QTEST(recipientLinePosition(layout, fontPosition, 1).y, "secondLineY");
    QTEST(barCodePosition(layout, fontPosition, lineCount).y, "barCodeY");
    QCOMPARE(barCodePosition(layout, fontPosition, lineCount).x, 7.0);
}

void EnvelopeLayoutTest::missingChoicesFallBackToTheStartUpDefaults_data()
{
    QTest::addColumn<std::optional<int>>("size");
    QTest::addColumn<std::optional<FeedSide>>("side");
    QTest::addColumn<std::optional<int>>("fontPosition");
    QTest::addColumn<int>("expectedSize");
    QTest::addColumn<FeedSide>("expectedSide");
    QTest::addColumn<int>("expectedFontPosition");

    const std::optional<int> none;
    const std::optional<FeedSide> noSide;
    QTest::newRow("nothing selected") << none << noSide << none << 1 << FeedSide::Right << 1;
    QTest::newRow("all selected") << std::optional(2) << std::optional(FeedSide::Left)
                                  << std::optional(0) << 2 << FeedSide::Left << 0;
    QTest::newRow("no size button") << none << std::optional(FeedSide::Center) << std::optional(2)
                                    << 1 << FeedSide::Center << 2;
    QTest::newRow("no side button")
        << std::optional(0) << noSide << std::optional(1) << 0 << FeedSide::Right << 1;
    QTest::newRow("indices out of range") << std::optional(3) << std::optional(FeedSide::Left)
                                          << std::optional(-1) << 1 << FeedSide::Left << 1;
}

void EnvelopeLayoutTest::missingChoicesFallBackToTheStartUpDefaults()
{
    QFETCH(std::optional<int>, size);
    QFETCH(std::optional<FeedSide>, side);
    QFETCH(std::optional<int>, fontPosition);

    const EnvelopeChoice choice = resolveSelection({size, side, fontPosition, 3});

    QTEST(choice.envelopeSize, "expectedSize");
    QTEST(choice.feedSide, "expectedSide");
    QTEST(choice.fontPosition, "expectedFontPosition");
    QCOMPARE(choice.marginInches, 3.0);
}

QTEST_APPLESS_MAIN(EnvelopeLayoutTest)
#include "envelopelayout_test.moc"
