#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "settings/settingsfiles.h"
#include "window/windowplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

template <std::size_t N> int checkedIndex(const std::array<QRadioButton *, N> &buttons)
{
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

// What the window shows of each restored choice, by the file it came from.
QString observe(FormFixture &f, QStringView fileName)
{
    const Form1Controls &c = f.controls();
    if (fileName == SettingsFiles::FontSize)
        return QStringLiteral("%1 %2pt")
            .arg(c.cmbSize->currentIndex())
            .arg(c.ToAddr->font().pointSize());
    if (fileName == SettingsFiles::Margin)
        return QStringLiteral("%1 button %2")
            .arg(f.form().runState().marginInches)
            .arg(checkedIndex(c.optMargin));
    if (fileName == SettingsFiles::EnvSize)
        return QString::number(checkedIndex(c.OptSize));
    if (fileName == SettingsFiles::EnvFeed)
        return QString::number(checkedIndex(std::array {c.Option1, c.Option2, c.Option3}));
    if (fileName == SettingsFiles::PrLogo)
        return QStringLiteral("%1 %2").arg(
            c.Check1->isChecked() ? u"on" : u"off", c.Image1->isVisible() ? u"shown" : u"hidden");
    if (fileName == SettingsFiles::PrPnet)
        return QStringLiteral("%1 %2").arg(c.Check2->isChecked() ? u"on" : u"off",
            c.picPostNet->isVisible() ? u"shown" : u"hidden");
    if (fileName == SettingsFiles::From)
        return c.FromAddr->text();
    if (fileName == SettingsFiles::To)
        return c.ToAddr->text();
    return {};
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void restores_data();
    void restores();
    void logoRestored_data();
    void logoRestored();
    void returnAddressSurvivesExit();
    void secondCopyEndsBeforeReadingAnything();
    void captionAndCentring();
};

namespace {

// One row of the restore table: null bytes stand for a file that is not there.
void restoreRow(
    QStringView file, const QByteArray &content, const char *shown, const QByteArray &afterwards)
{
    QByteArray name = content.left(12).replace("\r\n", "\\r\\n");
    if (content.isEmpty())
        name = content.isNull() ? "missing" : "empty";
    QTest::addRow("%s %s", qPrintable(file.toString()), name.constData())
        << file.toString() << content << QString::fromUtf8(shown) << afterwards;
}

} // namespace

void StartupTest::restores_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // null: no such file
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("afterwards"); // null: still no such file
    using namespace SettingsFiles;

    restoreRow(FontSize, nullptr, "1 12pt", " 1\r\n");
    restoreRow(FontSize, "", "1 12pt", " 1\r\n");
    restoreRow(FontSize, "   \r\n", "1 12pt", " 1\r\n");
    restoreRow(FontSize, "\r\n2\r\n", "1 12pt", " 1\r\n");
    restoreRow(FontSize, "2\r\n", "2 16pt", " 2\r\n");
    restoreRow(FontSize, "x\r\n", "0 10pt", " 0\r\n");
    restoreRow(FontSize, "2.5\r\n", "2 16pt", " 2\r\n");
    restoreRow(FontSize, "7\r\n", "-1 8pt", "7\r\n");
    restoreRow(FontSize, QByteArray(400, '9'), "-1 8pt", QByteArray(400, '9'));

    restoreRow(Margin, nullptr, "0 button 0", nullptr);
    restoreRow(Margin, "", "0 button 0", "");
    restoreRow(Margin, " 3 \r\n", "3 button 3", " 3 \r\n");
    restoreRow(Margin, "2.5\r\n", "2 button 2", " 2 \r\n");
    restoreRow(Margin, "7\r\n", "7 button -1", "7\r\n");

    restoreRow(EnvSize, nullptr, "1", "1\r\n");
    restoreRow(EnvSize, "2\r\n", "2", "2\r\n");
    restoreRow(EnvSize, "3\r\n", "-1", "3\r\n");
    restoreRow(EnvSize, " 1\r\n", "-1", " 1\r\n");
    restoreRow(EnvSize, "1 \r\n", "-1", "1 \r\n");
    restoreRow(EnvSize, "", "-1", "");

    // Feed buttons by index, Option1 first; -1: none selected.
    restoreRow(EnvFeed, nullptr, "0", "left\r\n");
    restoreRow(EnvFeed, "left\r\n", "0", "left\r\n");
    restoreRow(EnvFeed, "right\r\n", "1", "right\r\n");
    restoreRow(EnvFeed, "center\r\n", "2", "center\r\n");
    restoreRow(EnvFeed, "Left\r\n", "-1", "Left\r\n");
    restoreRow(EnvFeed, "  \"right\"\r\n", "1", "right\r\n");
    restoreRow(EnvFeed, "", "-1", "");

    // Both print switches are on only for a first field worth exactly 1.
    restoreRow(PrLogo, nullptr, "off hidden", nullptr);
    restoreRow(PrLogo, " 1 \r\n", "on shown", " 1 \r\n");
    restoreRow(PrLogo, " 2 \r\n", "off hidden", " 2 \r\n");

    restoreRow(PrPnet, nullptr, "off hidden", nullptr);
    restoreRow(PrPnet, " 1 \r\n", "on shown", " 1 \r\n");
    restoreRow(PrPnet, "1.0", "on shown", " 1 \r\n");
    restoreRow(PrPnet, "1,0\r\n", "on shown", " 1 \r\n");
    restoreRow(PrPnet, "0.99\r\n", "off hidden", "0.99\r\n");

    restoreRow(From, nullptr, "", nullptr);
    restoreRow(From, "A\r\nB\r\n", "A\r\nB", "A\r\nB\r\n");
    restoreRow(From, "A\r\n\r\n", "A\r\n", "A\r\n\r\n");
    restoreRow(From, "\r\n", "", "\r\n");

    // The recipient is never restored, and its file is left as it is.
    restoreRow(To, nullptr, "", nullptr);
    restoreRow(To, "Bob\r\n", "", "Bob\r\n");
}

void StartupTest::restores()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    QFETCH(QByteArray, afterwards);

    FormFixture f;
    if (!content.isNull())
        f.put(file, content);
    QVERIFY(f.start());
    QCOMPARE(observe(f, file), shown);
    QCOMPARE(f.bytes(file), afterwards);
}

void StartupTest::logoRestored_data()
{
    QTest::addColumn<QString>("lines"); // %1: a picture that loads; null: no logo.txt
    QTest::addColumn<bool>("loaded"); // else the placeholder shows
    QTest::newRow("missing") << QString() << false;
    QTest::newRow("last line counts") << QStringLiteral("/no/such/old.bmp\r\n%1\r\n") << true;
    QTest::newRow("last line empty") << QStringLiteral("%1\r\n\r\n") << false;
    QTest::newRow("path kept untrimmed") << QStringLiteral(" %1\r\n") << false;
    QTest::newRow("picture gone") << QStringLiteral("/no/such/logo.jpg\r\n") << false;
}

void StartupTest::logoRestored()
{
    QFETCH(QString, lines);
    QFETCH(bool, loaded);
    FormFixture f;
    const QString picture = f.path(u"logo.bmp");
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture, "BMP"));
    const QByteArray bytes = lines.isNull() ? QByteArray() : lines.arg(picture).toUtf8();
    if (!bytes.isNull())
        f.put(SettingsFiles::Logo, bytes);
    f.put(SettingsFiles::PrLogo, " 1 \r\n");
    QVERIFY(f.start());
    const Form1Controls &c = f.controls();
    QVERIFY(c.Check1->isChecked());
    QVERIFY(c.Image1->isVisible());
    if (loaded)
        QCOMPARE(c.Image1->picture().size(), QSize(20, 10));
    else
        QCOMPARE(c.Image1->picture(), c.Image2->picture());
    QCOMPARE(f.bytes(SettingsFiles::Logo), bytes);
}

void StartupTest::returnAddressSurvivesExit()
{
    FormFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.controls().FromAddr, Qt::LeftButton);
    QTest::keyClicks(f.controls().FromAddr, QStringLiteral("Ann Smith"));
    QTest::keyClick(f.controls().FromAddr, Qt::Key_Return);
    QTest::keyClicks(f.controls().FromAddr, QStringLiteral("1 Main St"));
    QTest::mouseClick(f.controls().Command2, Qt::LeftButton);
    QVERIFY(!f.form().isVisible());
    f.close();

    QVERIFY(f.start());
    QCOMPARE(f.controls().FromAddr->text(), QStringLiteral("Ann Smith\r\n1 Main St"));
}

void StartupTest::secondCopyEndsBeforeReadingAnything()
{
    FormFixture f;
    f.put(SettingsFiles::FontSize, " 2\r\n");
    QVERIFY(!f.start(/*anotherCopyRunning=*/true));
    QCOMPARE(f.controls().cmbSize->count(), 0);
    QCOMPARE(f.bytes(SettingsFiles::FontSize), QByteArray(" 2\r\n"));
    QVERIFY(!f.exists(SettingsFiles::EnvFeed));
    QVERIFY(!f.form().isVisible());
}

void StartupTest::captionAndCentring()
{
    FormFixture f;
    QVERIFY(f.start());
    QCOMPARE(f.form().windowTitle(), QStringLiteral("Quillmark 2.61"));
    QCOMPARE(WindowPlacement::caption(2, 5), QStringLiteral("Quillmark 2.5"));
    QCOMPARE(WindowPlacement::centred({15360, 11520}, {10800, 8700}), QPointF(2280, 1410));
    QCOMPARE(WindowPlacement::centred({9000, 6000}, {10800, 8700}), QPointF(-900, -1350));
    QCOMPARE(WindowPlacement::centred({15361, 11520}, {10800, 8700}).x(), 2280.5);
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
