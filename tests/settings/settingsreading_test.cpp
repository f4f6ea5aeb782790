#include "settings/linereader.h"
#include "settings/numericvalue.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

// How a settings file's text is cut into lines, fields and numbers. What each
// file then restores is checked on the real window at start-up.
class SettingsReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void firstField_data();
    void firstField();
    void numericValue_data();
    void numericValue();
};

void SettingsReadingTest::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << u""_s << QStringList();
    QTest::newRow("no break") << u"A"_s << QStringList {u"A"_s};
    QTest::newRow("CR LF at end") << u"A\r\n"_s << QStringList {u"A"_s};
    QTest::newRow("lone CR") << u"A\rB"_s << QStringList {u"A"_s, u"B"_s};
    QTest::newRow("lone LF is text") << u"A\nB\r\n"_s << QStringList {u"A\nB"_s};
    QTest::newRow("CR then CR LF") << u"A\r\r\nB"_s << QStringList {u"A"_s, u""_s, u"B"_s};
}

void SettingsReadingTest::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(LineReader::lines(text), lines);
    QCOMPARE(LineReader::firstLine(text).value_or(u"none"_s), lines.value(0, u"none"_s));
}

void SettingsReadingTest::firstField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("empty text") << u""_s << u"none"_s;
    QTest::newRow("leading blanks") << u"  \tleft\r\nright"_s << u"left"_s;
    QTest::newRow("quoted") << u" \"a, b\",c"_s << u"a, b"_s;
    QTest::newRow("blank line") << u"   \r\nleft"_s << u""_s;
}

void SettingsReadingTest::firstField()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(LineReader::firstField(text).value_or(u"none"_s), field);
}

void SettingsReadingTest::numericValue_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    const QString nines(400, u'9');
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index"); // rounded within 0 to 5; -1: none
    QTest::newRow("blanks inside") << u"1 2"_s << 12.0 << -1;
    QTest::newRow("tab and sign") << u"\t- 1"_s << -1.0 << -1;
    QTest::newRow("half up to even") << u"1.5"_s << 1.5 << 2;
    QTest::newRow("half past range") << u"5.5"_s << 5.5 << -1;
    QTest::newRow("negative half") << u"-0.5"_s << -0.5 << 0;
    QTest::newRow("no whole part") << u".75"_s << 0.75 << 1;
    QTest::newRow("second point ends") << u"1.2.3"_s << 1.2 << 1;
    QTest::newRow("400 digits") << nines << inf << -1;
    QTest::newRow("-400 digits") << u"-"_s + nines << -inf << -1;
    QTest::newRow("tiny") << u"0."_s + QString(400, u'0') + u'1' << 0.0 << 0;
}

void SettingsReadingTest::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, index);
    QCOMPARE(NumericValue::of(text), value);
    QCOMPARE(NumericValue::roundedIndex(value, 0, 5).value_or(-1), index);
}

QTEST_APPLESS_MAIN(SettingsReadingTest)
#include "settingsreading_test.moc"
