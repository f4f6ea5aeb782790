#include "logic/zipextraction.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class ZipExtractionTest : public QObject
{
    Q_OBJECT

private slots:
    void takesDigitsOfLastRun_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("digits");
        const QString address = u"Jane Doe\n12 Elm Street\nSpringfield, IL 62704"_s;
        QTest::newRow("ZIP on the last line") << address + u'\n' << u"62704"_s;
        QTest::newRow("country line after") << address + u"\nUSA"_s << u"62704"_s;
        QTest::newRow("blank lines and spaces after") << address + u"  \n\n   \n"_s << u"62704"_s;
        QTest::newRow("CR LF line ends") << u"Jane Doe\r\nIL 62704\r\n"_s << u"62704"_s;
        QTest::newRow("ZIP+4") << address + u"-1234"_s << u"627041234"_s;
        QTest::newRow("digits after the ZIP win") << address + u"\nRoom 5"_s << u"5"_s;
        QTest::newRow("lone dash at the end") << address + u"\n-"_s << QString();
        QTest::newRow("dashes around the run") << u"ZIP -62704-"_s << u"62704"_s;
        QTest::newRow("only a ZIP+4") << u"62704-1234"_s << u"627041234"_s;
        QTest::newRow("one digit") << u"7"_s << u"7"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no digits") << u"Jane Doe\nSpringfield"_s << QString();
    }

    void takesDigitsOfLastRun()
    {
        QFETCH(QString, address);
        QFETCH(QString, digits);
        QCOMPARE(extractZipDigits(address), digits);
        QCOMPARE(holdsZipCharacter(address), address.contains(QRegularExpression(u"[0-9-]"_s)));
    }
};

QTEST_MAIN(ZipExtractionTest)
#include "zipextraction_test.moc"
