#include "settings/linereader.h"
#include "settings/numericvalue.h"
#include "settings/restorerules.h"
#include "settings/textcodec.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString orNone(const std::optional<int> &index)
{
    return index ? QString::number(*index) : u"none"_s;
}

// What start-up restores from a settings file, written out as text.
QString restored(const QString &file, const SettingsFileState &state)
{
    using namespace RestoreRules;
    const auto onOff = [](bool on) { return on ? u"on"_s : u"off"_s; };
    if (file == u"fontsize")
        return orNone(fontSize(state));
    if (file == u"envsize")
        return orNone(envelopeSize(state));
    if (file == u"margin")
        return QString::number(margin(state).marginInches) + u' ' + orNone(margin(state).button);
    if (file == u"prlogo")
        return onOff(printLogo(state));
    if (file == u"prpnet")
        return onOff(printPostNet(state));
    if (file == u"envfeed")
        return orNone(
            feedSide(state).has_value() ? std::optional(int(*feedSide(state)) + 1) : std::nullopt);
    if (file == u"logo")
        return logoPath(state).value_or(u"none"_s);
    return returnAddress(state);
}

} // namespace

// How the bytes of a settings file become text, lines, fields, numbers and
// finally the choice that start-up restores.
class SettingsReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("field"); // "none" when there is none
        QTest::newRow("empty") << u""_s << QStringList() << u"none"_s;
        QTest::newRow("no break") << u"A,B"_s << QStringList {u"A,B"_s} << u"A"_s;
        QTest::newRow("CR LF at end") << u"A\r\n"_s << QStringList {u"A"_s} << u"A"_s;
        QTest::newRow("CR at end") << u"A\r"_s << QStringList {u"A"_s} << u"A"_s;
        QTest::newRow("only a break") << u"\r\n"_s << QStringList {u""_s} << u""_s;
        QTest::newRow("lone CR") << u"A\rB"_s << QStringList {u"A"_s, u"B"_s} << u"A"_s;
        QTest::newRow("lone LF is text") << u"A\nB\r\n"_s << QStringList {u"A\nB"_s} << u"A\nB"_s;
        QTest::newRow("CR then CR LF")
            << u"A\r\r\nB"_s << QStringList {u"A"_s, u""_s, u"B"_s} << u"A"_s;
        QTest::newRow("blanks, then quoted")
            << u" \t\"a, b\",c\r\nd"_s << QStringList {u" \t\"a, b\",c"_s, u"d"_s} << u"a, b"_s;
        QTest::newRow("quote left open") << u"\"ab"_s << QStringList {u"\"ab"_s} << u"ab"_s;
        QTest::newRow("blank line") << u"  \r\nx"_s << QStringList {u"  "_s, u"x"_s} << u""_s;
    }

    void lines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(LineReader::lines(text), lines);
        QCOMPARE(LineReader::firstLine(text).value_or(u"none"_s), lines.value(0, u"none"_s));
        QTEST(LineReader::firstField(text).value_or(u"none"_s), "field");
    }

    void numericValue_data()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const QString nines(400, u'9');
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("index"); // rounded within 0 to 5; -1: none
        QTest::newRow("blanks inside") << u"1 2"_s << 12.0 << -1;
        QTest::newRow("tab and sign") << u"\t- 1"_s << -1.0 << -1;
        QTest::newRow("plus sign") << u"+3"_s << 3.0 << 3;
        QTest::newRow("two signs") << u"--3"_s << 0.0 << 0;
        QTest::newRow("one half to even") << u"0.5"_s << 0.5 << 0;
        QTest::newRow("1.5 to even") << u"1.5"_s << 1.5 << 2;
        QTest::newRow("2.5 to even") << u"2.5"_s << 2.5 << 2;
        QTest::newRow("past a half") << u"2.51"_s << 2.51 << 3;
        QTest::newRow("half past range") << u"5.5"_s << 5.5 << -1;
        QTest::newRow("below range") << u"-0.6"_s << -0.6 << -1;
        QTest::newRow("no whole part") << u".75"_s << 0.75 << 1;
        QTest::newRow("second point ends") << u"1.2.3"_s << 1.2 << 1;
        QTest::newRow("text") << u"abc"_s << 0.0 << 0;
        QTest::newRow("400 digits") << nines << inf << -1;
        QTest::newRow("-400 digits") << u"-"_s + nines << -inf << -1;
        QTest::newRow("tiny") << u"0."_s + QString(400, u'0') + u'1' << 0.0 << 0;
    }

    void numericValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(NumericValue::of(text), value);
        QTEST(NumericValue::roundedIndex(value, 0, 5).value_or(-1), "index");
    }

    void textCodec_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("writtenSo"); // else only read: writing gives UTF-8
        QTest::newRow("accents") << QByteArray("Zo\xC3\xAB\r\n") << u"Zoë\r\n"_s << true;
        QTest::newRow("euro sign") << QByteArray("5 \xE2\x82\xAC") << u"5 €"_s << true;
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80!") << u"\U0001F600!"_s << true;
        QTest::newRow("highest") << QByteArray("\xF4\x8F\xBF\xBF") << u"\U0010FFFF"_s << true;
        QTest::newRow("above highest") << QByteArray("\xF4\x90\x80\x80") << u"ô\u0090€€"_s << false;
        QTest::newRow("overlong 4") << QByteArray("\xF0\x8F\xBF\xBF") << u"ð\u008F¿¿"_s << false;
        QTest::newRow("overlong 3")
            << QByteArray("\xE0\x9F\xBF") << u"\u00E0\u0178\u00BF"_s << false;
        QTest::newRow("overlong 2") << QByteArray("\xC0\xAF") << u"À¯"_s << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u"í\u00A0€"_s << false;
        QTest::newRow("cut emoji")
            << QByteArray("\xF0\x9F\x98") << u"\u00F0\u0178\u02DC"_s << false;
        QTest::newRow("cut at end") << QByteArray("A\xC3") << u"AÃ"_s << false;
        QTest::newRow("1252 euro") << QByteArray("\x80 5") << u"€ 5"_s << false;
        QTest::newRow("1252 undefined") << QByteArray("\x8D") << u"\u008D"_s << false;
        QTest::newRow("1252 mixed") << QByteArray("\xC3\xA9 \xE9") << u"é é"_s << false;
    }

    // Settings are written as UTF-8; bytes that are not UTF-8 read as Windows-1252.
    void textCodec()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, writtenSo);
        QCOMPARE(TextCodec::decode(bytes), text);
        QCOMPARE(TextCodec::encode(text) == bytes, writtenSo);
    }

    void restore_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QString>("outcome");
        const QByteArray none;
        const auto row = [](const char *file, const char *name, const QByteArray &bytes,
                             const QString &outcome) {
            QTest::addRow("%s: %s", file, name) << QString::fromLatin1(file) << bytes << outcome;
        };
        row("fontsize", "absent", none, u"1"_s);
        row("fontsize", "empty", "", u"1"_s);
        row("fontsize", "blank", " \t\r\n2", u"1"_s);
        row("fontsize", "number form", " 2 \r\n", u"2"_s);
        row("fontsize", "half to even", "0.5", u"0"_s);
        row("fontsize", "past the list", "2.6", u"none"_s);
        row("envsize", "absent", none, u"1"_s);
        row("envsize", "bare digit", "0\r\n1", u"0"_s);
        row("envsize", "largest", "2", u"2"_s);
        row("envsize", "past the buttons", "3", u"none"_s);
        row("envsize", "number form", " 1 ", u"none"_s);
        row("envsize", "empty", "", u"none"_s);
        row("margin", "absent", none, u"0 none"_s);
        row("margin", "number form", " 2 \r\n", u"2 2"_s);
        row("margin", "fraction", "3.4", u"3.4 3"_s);
        row("margin", "past the buttons", "5.5", u"5.5 none"_s);
        row("margin", "empty", "", u"0 0"_s);
        row("prlogo", "absent", none, u"off"_s);
        row("prlogo", "number form", " 1 \r\n", u"on"_s);
        row("prlogo", "first field", "1.0,0", u"on"_s);
        row("prlogo", "two", "2", u"off"_s);
        row("prpnet", "one", "1", u"on"_s);
        row("prpnet", "zero", " 0 ", u"off"_s);
        row("envfeed", "absent", none, u"1"_s);
        row("envfeed", "left", "left\r\n", u"1"_s);
        row("envfeed", "right", " right,x", u"2"_s);
        row("envfeed", "center", "\"center\"", u"3"_s);
        row("envfeed", "other case", "Left", u"none"_s);
        row("from", "absent", none, u""_s);
        row("from", "lines", "Ann\r1 Elm\r\n\r\n", u"Ann\r\n1 Elm\r\n"_s);
        row("logo", "absent", none, u"none"_s);
        row("logo", "last line", "old.png\r\n/b.png\r\n", u"/b.png"_s);
        row("logo", "blank last line", "/a.png\r\n  ", u"none"_s);
        row("logo", "empty", "", u"none"_s);
    }

    void restore()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        const SettingsFileState state = bytes.isNull() ? SettingsFileState() : bytes;
        QTEST(restored(file, state), "outcome");
    }
};

QTEST_APPLESS_MAIN(SettingsReadingTest)
#include "settingsreading_test.moc"
