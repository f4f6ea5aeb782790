#include "settings/linereader.h"
#include "settings/numericvalue.h"
#include "settings/restorerules.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;
using RestoreRules::FeedButton;

Q_DECLARE_METATYPE(SettingsFileState)

namespace {

const SettingsFileState Missing = std::nullopt;

SettingsFileState file(const QByteArray &bytes)
{
    return bytes;
}

// Outcomes as the tables write them; "none" is a choice that selects nothing.
QString shown(std::optional<int> index)
{
    return index ? QString::number(*index) : u"none"_s;
}
QString shown(const std::optional<QString> &path)
{
    return path.value_or(u"none"_s);
}
QString shown(bool on)
{
    return on ? u"on"_s : u"off"_s;
}
QString shown(const QString &address)
{
    return address;
}
QString shown(std::optional<FeedButton> button)
{
    return button ? u"Option%1"_s.arg(int(*button) + 1) : u"none"_s;
}
QString shown(const RestoreRules::Margin &margin)
{
    return u"%1 inches, button %2"_s.arg(margin.marginInches).arg(shown(margin.button));
}

QByteArray nines(int count)
{
    return QByteArray(count, '9');
}

void stateAndOutcome()
{
    QTest::addColumn<SettingsFileState>("state");
    QTest::addColumn<QString>("outcome");
}

// Both switch files are read the same way.
void printSwitchTable()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"off"_s;
    QTest::newRow("empty") << file("") << u"off"_s;
    QTest::newRow("on") << file(" 1 \r\n") << u"on"_s;
    QTest::newRow("off") << file(" 0 \r\n") << u"off"_s;
    QTest::newRow("one point zero") << file("1.0\r\n") << u"on"_s;
    QTest::newRow("near one") << file("0.99\r\n") << u"off"_s;
    QTest::newRow("first field only") << file("1,0\r\n") << u"on"_s;
}

template <typename Rule> void checkRule(Rule rule)
{
    QFETCH(SettingsFileState, state);
    QFETCH(QString, outcome);
    QCOMPARE(shown(rule(state)), outcome);
}

} // namespace

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

    void fontSize_data();
    void fontSize() { checkRule(RestoreRules::fontSize); }
    void logoPath_data();
    void logoPath() { checkRule(RestoreRules::logoPath); }
    void margin_data();
    void margin() { checkRule(RestoreRules::margin); }
    void printLogo() { checkRule(RestoreRules::printLogo); }
    void printLogo_data() { printSwitchTable(); }
    void printPostNet() { checkRule(RestoreRules::printPostNet); }
    void printPostNet_data() { printSwitchTable(); }
    void feedSide_data();
    void feedSide() { checkRule(RestoreRules::feedSide); }
    void returnAddress_data();
    void returnAddress() { checkRule(RestoreRules::returnAddress); }
    void envelopeSize_data();
    void envelopeSize() { checkRule(RestoreRules::envelopeSize); }
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
    QTest::newRow("number form") << u" 1 \r\n"_s << u"1 "_s;
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("index"); // rounded, within 0 to 5
    QTest::newRow("empty") << u""_s << 0.0 << u"0"_s;
    QTest::newRow("number form") << u" 3 "_s << 3.0 << u"3"_s;
    QTest::newRow("blanks inside") << u"1 2"_s << 12.0 << u"none"_s;
    QTest::newRow("tab and sign") << u"\t- 1"_s << -1.0 << u"none"_s;
    QTest::newRow("half up to even") << u"1.5"_s << 1.5 << u"2"_s;
    QTest::newRow("half down to even") << u"2.5"_s << 2.5 << u"2"_s;
    QTest::newRow("half past range") << u"5.5"_s << 5.5 << u"none"_s;
    QTest::newRow("negative half") << u"-0.5"_s << -0.5 << u"0"_s;
    QTest::newRow("no whole part") << u".75"_s << 0.75 << u"1"_s;
    QTest::newRow("second point ends") << u"1.2.3"_s << 1.2 << u"1"_s;
    QTest::newRow("400 digits") << QString::fromLatin1(nines(400)) << inf << u"none"_s;
    QTest::newRow("-400 digits") << u"-"_s + QString::fromLatin1(nines(400)) << -inf << u"none"_s;
    QTest::newRow("tiny") << u"0."_s + QString(400, u'0') + u'1' << 0.0 << u"0"_s;
}

void SettingsReadingTest::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QString, index);
    QCOMPARE(NumericValue::of(text), value);
    QCOMPARE(shown(NumericValue::roundedIndex(NumericValue::of(text), 0, 5)), index);
}

void SettingsReadingTest::fontSize_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"1"_s;
    QTest::newRow("empty") << file("") << u"1"_s;
    QTest::newRow("blanks") << file("   \r\n") << u"1"_s;
    QTest::newRow("sign-slot 2") << file(" 2\r\n") << u"2"_s;
    QTest::newRow("letter") << file("x\r\n") << u"0"_s;
    QTest::newRow("out of range") << file(" 7\r\n") << u"none"_s;
    QTest::newRow("first line only") << file("\r\n2\r\n") << u"1"_s;
    QTest::newRow("400 digits") << file(nines(400)) << u"none"_s;
}

void SettingsReadingTest::logoPath_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"none"_s;
    QTest::newRow("empty") << file("") << u"none"_s;
    QTest::newRow("last line counts") << file("/p/a.png\r\n/p/b.gif\r\n") << u"/p/b.gif"_s;
    QTest::newRow("last line empty") << file("/p/a.png\r\n\r\n") << u"none"_s;
    QTest::newRow("kept untrimmed") << file(" /p/a.png\r\n") << u" /p/a.png"_s;
}

void SettingsReadingTest::margin_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"0 inches, button none"_s;
    QTest::newRow("empty") << file("") << u"0 inches, button 0"_s;
    QTest::newRow("number form") << file(" 3 \r\n") << u"3 inches, button 3"_s;
    QTest::newRow("fraction") << file("2.5\r\n") << u"2.5 inches, button 2"_s;
    QTest::newRow("out of range") << file(" 7 \r\n") << u"7 inches, button none"_s;
}

void SettingsReadingTest::feedSide_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"Option1"_s;
    QTest::newRow("empty") << file("") << u"none"_s;
    QTest::newRow("left") << file("left\r\n") << u"Option1"_s;
    QTest::newRow("right") << file("right\r\n") << u"Option2"_s;
    QTest::newRow("capital") << file("Left\r\n") << u"none"_s;
    QTest::newRow("leading blanks") << file("  right\r\n") << u"Option2"_s;
    QTest::newRow("quoted") << file("\"center\"\r\n") << u"Option3"_s;
}

void SettingsReadingTest::returnAddress_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u""_s;
    QTest::newRow("empty") << file("") << u""_s;
    QTest::newRow("two lines") << file("Ann\r\n1 Main St\r\n") << u"Ann\r\n1 Main St"_s;
    QTest::newRow("ends in empty line") << file("Ann\r\n\r\n") << u"Ann\r\n"_s;
    QTest::newRow("lone CR") << file("Ann\rBob\r\n") << u"Ann\r\nBob"_s;
}

void SettingsReadingTest::envelopeSize_data()
{
    stateAndOutcome();
    QTest::newRow("missing") << Missing << u"1"_s;
    QTest::newRow("empty") << file("") << u"none"_s;
    QTest::newRow("bare 2") << file("2\r\n") << u"2"_s;
    QTest::newRow("blank before") << file(" 1\r\n") << u"none"_s;
    QTest::newRow("blank after") << file("1 \r\n") << u"none"_s;
    QTest::newRow("out of range") << file("3\r\n") << u"none"_s;
}

QTEST_APPLESS_MAIN(SettingsReadingTest)
#include "settingsreading_test.moc"
