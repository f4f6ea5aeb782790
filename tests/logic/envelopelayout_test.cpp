#include "logic/envelopelayout.h"

#include <QTest>

Q_DECLARE_METATYPE(FeedSide)

// The print job's page covers every anchor; these are the choices a window
// with some buttons left unselected, or a broken settings file, hands over.
class EnvelopeLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void missingChoicesFallBackToTheStartUpDefaults_data()
    {
        QTest::addColumn<std::optional<int>>("size");
        QTest::addColumn<std::optional<FeedSide>>("side");
        QTest::addColumn<std::optional<int>>("fontPosition");
        QTest::addColumn<int>("expectedSize");
        QTest::addColumn<FeedSide>("expectedSide");
        QTest::addColumn<int>("expectedFontPosition");

        const std::optional<int> none;
        QTest::newRow("no size button") << none << std::optional(FeedSide::Center)
                                        << std::optional(2) << 1 << FeedSide::Center << 2;
        QTest::newRow("no side button") << std::optional(0) << std::optional<FeedSide>()
                                        << std::optional(1) << 0 << FeedSide::Right << 1;
        QTest::newRow("indices out of range") << std::optional(3) << std::optional(FeedSide::Left)
                                              << std::optional(-1) << 1 << FeedSide::Left << 1;
    }

    void missingChoicesFallBackToTheStartUpDefaults()
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
};

QTEST_APPLESS_MAIN(EnvelopeLayoutTest)
#include "envelopelayout_test.moc"
