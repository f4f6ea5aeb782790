#include "formfixture.h"

#include "app/addressbox.h"
#include "app/imagebox.h"
#include "app/windowplacement.h"
#include "platform/drawingbox.h"
#include "settings/settingsfiles.h"

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

QString feedButton(const Form1Controls &c)
{
    if (c.Option1->isChecked())
        return QStringLiteral("Option1");
    if (c.Option2->isChecked())
        return QStringLiteral("Option2");
    if (c.Option3->isChecked())
        return QStringLiteral("Option3");
    return QStringLiteral("none");
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
        return feedButton(c);
    if (fileName == SettingsFiles::PrLogo)
        return QStringLiteral("%1 %2").arg(
            c.Check1->isChecked() ? u"on" : u"off", c.Image1->isVisible() ? u"shown" : u"hidden");
    if (fileName == SettingsFiles::PrPnet)
        return QStringLiteral("%1 %2").arg(c.Check2->isChecked() ? u"on" : u"off",
            c.picPostNet->isVisible() ? u"shown" : u"hidden");
    if (fileName == SettingsFiles::From)
        return c.FromAddr->text();
    return {};
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsDefaults();
    void firstStartWritesThreeFiles();
    void restores_data();
    void restores();
    void logoPictureRestored();
    void logoPathThatNoLongerExistsKeepsPlaceholder();
    void recipientBoxStartsEmpty();
    void returnAddressSurvivesExit();
    void secondCopyEndsBeforeReadingAnything();
    void captionAndCentring();
};

void StartupTest::firstStartShowsDefaults()
{
    FormFixture f;
    QVERIFY(f.start());
    const Form1Controls &c = f.controls();
    QCOMPARE(f.form().windowTitle(), QStringLiteral("Quillmark 2.61"));
    QCOMPARE(c.cmbSize->currentText(), QStringLiteral("Medium"));
    QCOMPARE(c.cmbSize->count(), 3);
    QCOMPARE(checkedIndex(c.OptSize), 1);
    QCOMPARE(feedButton(c), QStringLiteral("Option1"));
    QCOMPARE(checkedIndex(c.optMargin), 0);
    QCOMPARE(f.form().runState().marginInches, 0.0);
    QVERIFY(!c.Check1->isChecked());
    QVERIFY(!c.Check2->isChecked());
    QVERIFY(!c.Image1->isVisible());
    QVERIFY(!c.picPostNet->isVisible());
    QVERIFY(c.FromAddr->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c.ToAddr));
}

void StartupTest::firstStartWritesThreeFiles()
{
    FormFixture f;
    QVERIFY(f.start());
    QCOMPARE(f.bytes(SettingsFiles::FontSize), QByteArray(" 1\r\n"));
    QCOMPARE(f.bytes(SettingsFiles::EnvFeed), QByteArray("left\r\n"));
    QCOMPARE(f.bytes(SettingsFiles::EnvSize), QByteArray("1\r\n"));
    for (QStringView name : {SettingsFiles::Margin, SettingsFiles::PrLogo, SettingsFiles::PrPnet,
             SettingsFiles::Logo, SettingsFiles::From, SettingsFiles::To})
        QVERIFY2(!f.exists(name), qPrintable(name.toString()));
}

void StartupTest::restores_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // null: no such file
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("afterwards"); // null: still no such file

    const QString font = SettingsFiles::FontSize.toString();
    QTest::newRow("font missing") << font << QByteArray() << "1 12pt" << QByteArray(" 1\r\n");
    QTest::newRow("font empty") << font << QByteArray("") << "1 12pt" << QByteArray(" 1\r\n");
    QTest::newRow("font blanks") << font << QByteArray("   \r\n") << "1 12pt"
                                 << QByteArray(" 1\r\n");
    QTest::newRow("font 2") << font << QByteArray("2\r\n") << "2 16pt" << QByteArray(" 2\r\n");
    QTest::newRow("font letter") << font << QByteArray("x\r\n") << "0 10pt" << QByteArray(" 0\r\n");
    QTest::newRow("font 2.5 to even")
        << font << QByteArray("2.5\r\n") << "2 16pt" << QByteArray(" 2\r\n");
    QTest::newRow("font 7") << font << QByteArray("7\r\n") << "-1 8pt" << QByteArray("7\r\n");
    QTest::newRow("font 400 digits")
        << font << QByteArray(400, '9') << "-1 8pt" << QByteArray(400, '9');

    const QString margin = SettingsFiles::Margin.toString();
    QTest::newRow("margin missing") << margin << QByteArray() << "0 button 0" << QByteArray();
    QTest::newRow("margin empty") << margin << QByteArray("") << "0 button 0" << QByteArray("");
    QTest::newRow("margin 3") << margin << QByteArray(" 3 \r\n") << "3 button 3"
                              << QByteArray(" 3 \r\n");
    QTest::newRow("margin 2.5") << margin << QByteArray("2.5\r\n") << "2 button 2"
                                << QByteArray(" 2 \r\n");
    QTest::newRow("margin 7") << margin << QByteArray("7\r\n") << "7 button -1"
                              << QByteArray("7\r\n");
    QTest::newRow("margin -1") << margin << QByteArray("-1\r\n") << "-1 button -1"
                               << QByteArray("-1\r\n");

    const QString size = SettingsFiles::EnvSize.toString();
    QTest::newRow("size missing") << size << QByteArray() << "1" << QByteArray("1\r\n");
    QTest::newRow("size 2") << size << QByteArray("2\r\n") << "2" << QByteArray("2\r\n");
    QTest::newRow("size blank before")
        << size << QByteArray(" 1\r\n") << "-1" << QByteArray(" 1\r\n");
    QTest::newRow("size blank after")
        << size << QByteArray("1 \r\n") << "-1" << QByteArray("1 \r\n");
    QTest::newRow("size empty") << size << QByteArray("") << "-1" << QByteArray("");

    const QString feed = SettingsFiles::EnvFeed.toString();
    QTest::newRow("feed missing") << feed << QByteArray() << "Option1" << QByteArray("left\r\n");
    QTest::newRow("feed right") << feed << QByteArray("right\r\n") << "Option2"
                                << QByteArray("right\r\n");
    QTest::newRow("feed center") << feed << QByteArray("center\r\n") << "Option3"
                                 << QByteArray("center\r\n");
    QTest::newRow("feed Left") << feed << QByteArray("Left\r\n") << "none"
                               << QByteArray("Left\r\n");
    QTest::newRow("feed quoted") << feed << QByteArray("  \"right\"\r\n") << "Option2"
                                 << QByteArray("right\r\n");
    QTest::newRow("feed empty") << feed << QByteArray("") << "none" << QByteArray("");

    const QString logo = SettingsFiles::PrLogo.toString();
    QTest::newRow("logo missing") << logo << QByteArray() << "off hidden" << QByteArray();
    QTest::newRow("logo on") << logo << QByteArray(" 1 \r\n") << "on shown"
                             << QByteArray(" 1 \r\n");
    QTest::newRow("logo 2") << logo << QByteArray(" 2 \r\n") << "off hidden"
                            << QByteArray(" 2 \r\n");
    QTest::newRow("logo empty") << logo << QByteArray("") << "off hidden" << QByteArray("");

    const QString pnet = SettingsFiles::PrPnet.toString();
    QTest::newRow("barcode missing") << pnet << QByteArray() << "off hidden" << QByteArray();
    QTest::newRow("barcode on") << pnet << QByteArray(" 1 \r\n") << "on shown"
                                << QByteArray(" 1 \r\n");
    QTest::newRow("barcode 1.0") << pnet << QByteArray("1.0") << "on shown"
                                 << QByteArray(" 1 \r\n");
    QTest::newRow("barcode 0") << pnet << QByteArray(" 0 \r\n") << "off hidden"
                               << QByteArray(" 0 \r\n");

    const QString from = SettingsFiles::From.toString();
    QTest::newRow("from two lines")
        << from << QByteArray("A\r\nB\r\n") << "A\r\nB" << QByteArray("A\r\nB\r\n");
    QTest::newRow("from ends empty") << from << QByteArray("A\r\n\r\n") << "A\r\n"
                                     << QByteArray("A\r\n\r\n");
    QTest::newRow("from empty") << from << QByteArray("") << "" << QByteArray("");
    QTest::newRow("from only CR LF") << from << QByteArray("\r\n") << "" << QByteArray("\r\n");
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

void StartupTest::logoPictureRestored()
{
    FormFixture f;
    const QString picture = f.path(u"logo.bmp");
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture, "BMP"));
    f.put(SettingsFiles::Logo, QStringLiteral("/no/such/old.bmp\r\n%1\r\n").arg(picture).toUtf8());
    f.put(SettingsFiles::PrLogo, " 1 \r\n");
    QVERIFY(f.start());
    QCOMPARE(f.controls().Image1->picture().size(), QSize(20, 10));
    QVERIFY(f.controls().Image1->isVisible());
}

void StartupTest::logoPathThatNoLongerExistsKeepsPlaceholder()
{
    FormFixture f;
    f.put(SettingsFiles::Logo, "/no/such/logo.jpg\r\n");
    f.put(SettingsFiles::PrLogo, " 1 \r\n");
    QVERIFY(f.start());
    QCOMPARE(f.controls().Image1->picture(), f.controls().Image2->picture());
    QVERIFY(f.controls().Check1->isChecked());
}

void StartupTest::recipientBoxStartsEmpty()
{
    FormFixture f;
    f.put(SettingsFiles::To, "Someone\r\nSomewhere 12345\r\n");
    QVERIFY(f.start());
    QVERIFY(f.controls().ToAddr->text().isEmpty());
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
    const Form1Controls &c = f.controls();
    QCOMPARE(c.cmbSize->count(), 0);
    QCOMPARE(checkedIndex(c.OptSize), -1);
    QCOMPARE(f.bytes(SettingsFiles::FontSize), QByteArray(" 2\r\n"));
    QVERIFY(!f.exists(SettingsFiles::EnvFeed));
    QVERIFY(!f.form().isVisible());
}

void StartupTest::captionAndCentring()
{
    QCOMPARE(WindowPlacement::caption(2, 61), QStringLiteral("Quillmark 2.61"));
    QCOMPARE(WindowPlacement::caption(2, 5), QStringLiteral("Quillmark 2.5"));
    QCOMPARE(WindowPlacement::centred({15360, 11520}, {10800, 8700}), QPointF(2280, 1410));
    QCOMPARE(WindowPlacement::centred({9000, 6000}, {10800, 8700}), QPointF(-900, -1350));
    QCOMPARE(WindowPlacement::centred({15361, 11520}, {10800, 8700}).x(), 2280.5);
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
