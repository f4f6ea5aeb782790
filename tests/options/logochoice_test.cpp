#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "app/imagebox.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

namespace {

QByteArray littleEndian16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Headers that claim a picture of more than 128 MiB, without its pixels.
QByteArray hugeBmpHeader()
{
    return "BM" + littleEndian32(54) + littleEndian32(0) + littleEndian32(54) // file header
        + littleEndian32(40) + littleEndian32(8000) + littleEndian32(8000) // info header
        + littleEndian16(1) + littleEndian16(24) + QByteArray(24, '\0');
}

QByteArray hugeGifHeader()
{
    const QByteArray side = littleEndian16(30000);
    return "GIF89a" + side + side + QByteArray("\x00\x00\x00", 3) // screen
        + ',' + littleEndian32(0) + side + side + '\0' + QByteArray("\x02\x02\x4c\x01\x00;", 6);
}

} // namespace

class LogoChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chosenPictureBecomesTheLogo_data();
    void chosenPictureBecomesTheLogo();
    void everyFailureClearsTheLogo_data();
    void everyFailureClearsTheLogo();
    void failedSettingsWriteClearsTheLogo();
    void switchOffAndOnKeepsTheLogo();
    void nextStartShowsTheChosenLogo_data();
    void nextStartShowsTheChosenLogo();

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString makePicture(const QString &name, const char *format) const;
    void startWithSwitchOn();
    void clickLogo(const std::optional<QString> &answer);

    std::unique_ptr<FormFixture> m_f;
    std::unique_ptr<QTemporaryDir> m_pictures;
    ScriptedDialog *m_dialog = nullptr;
};

void LogoChoiceTest::init()
{
    m_pictures = std::make_unique<QTemporaryDir>();
    m_f = std::make_unique<FormFixture>();
    startWithSwitchOn();
}

void LogoChoiceTest::cleanup()
{
    m_f.reset();
    m_pictures.reset();
}

void LogoChoiceTest::startWithSwitchOn()
{
    QVERIFY(m_f->start());
    m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
    if (!c().Check1->isChecked())
        QTest::mouseClick(c().Check1, Qt::LeftButton);
    QVERIFY(c().Image1->isVisible());
}

// A 40 x 20 picture in red (200, 30, 30). Qt writes no GIF: that one is a fixture.
QString LogoChoiceTest::makePicture(const QString &name, const char *format) const
{
    const QString path = m_pictures->filePath(name);
    if (qstrcmp(format, "GIF") == 0)
        return QFile::copy(TestSupport::dataPath(QStringLiteral("logo-40x20.gif")), path)
            ? path
            : QString();
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    return image.save(path, format) ? path : QString();
}

void LogoChoiceTest::clickLogo(const std::optional<QString> &answer)
{
    if (answer)
        m_dialog->choose(*answer);
    else
        m_dialog->cancel();
    QTest::mouseClick(c().Image1, Qt::LeftButton);
    QVERIFY(m_dialog->scriptUsed());
}

void LogoChoiceTest::chosenPictureBecomesTheLogo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("JPEG") << "logo.jpg" << QByteArray("JPG");
    QTest::newRow("GIF") << "logo.gif" << QByteArray("GIF");
    QTest::newRow("BMP") << "logo.bmp" << QByteArray("BMP");
    QTest::newRow("BMP named .jpg") << "really-a-bitmap.jpg" << QByteArray("BMP");
}

void LogoChoiceTest::chosenPictureBecomesTheLogo()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    const QString path = makePicture(name, format.constData());
    QVERIFY(!path.isEmpty());
    m_f->form().commonDialog().FileName = QStringLiteral("/left/by/last/use.bmp");
    clickLogo(path);

    const FileDialogRequest &shown = m_dialog->fileRequests().constLast();
    QCOMPARE(shown.kind, FileDialogRequest::Kind::Open);
    QCOMPARE(shown.fileName, QStringLiteral("/left/by/last/use.bmp"));
    QCOMPARE(m_f->form().commonDialog().Filter,
        QStringLiteral("Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)|*.jpg;*.jpeg;*.gif;*.bmp|"
                       "JPG Files (*.jpg, *.jpeg)|*.jpg;*.jpeg|GIF Files (*.gif)|*.gif|"
                       "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*"));
    QVERIFY(m_f->form().commonDialog().CancelError);

    QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
    QCOMPARE(m_f->bytes(SettingsFiles::Logo), path.toUtf8() + "\r\n");
    QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 1 \r\n"));
    QVERIFY(c().Check1->isChecked());
    QVERIFY(c().Image1->isVisible());
    // Stretched over the whole 1020 x 1020 twip control.
    QCOMPARE(c().Image1->size(), QSize(68, 68));
    const QImage shownPicture = c().Image1->grab().toImage();
    for (const QPoint corner : {QPoint(2, 2), QPoint(65, 65)})
        QVERIFY(qAbs(QColor(shownPicture.pixel(corner)).red() - 200) < 16);
}

void LogoChoiceTest::everyFailureClearsTheLogo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("refusal"); // the logged reason, when the loader refuses
    QTest::newRow("cancelled") << "cancel"
                               << "";
    QTest::newRow("empty file name") << "empty"
                                     << "";
    QTest::newRow("text file through All Files") << "text"
                                                 << "not a JPEG, GIF or BMP";
    QTest::newRow("PNG picture") << "png"
                                 << "not a JPEG, GIF or BMP";
    QTest::newRow("BMP claiming 8000 x 8000") << "huge bmp"
                                              << "too large";
    QTest::newRow("GIF claiming 30000 x 30000") << "huge gif"
                                                << "too large";
    QTest::newRow("FIFO") << "fifo"
                          << "not an ordinary file";
    QTest::newRow("folder") << "folder"
                            << "not an ordinary file";
    QTest::newRow("file since deleted") << "missing"
                                        << "No such file";
}

void LogoChoiceTest::everyFailureClearsTheLogo()
{
    QFETCH(QString, kind);
    QFETCH(QString, refusal);
    clickLogo(makePicture(QStringLiteral("first.bmp"), "BMP"));
    QVERIFY(c().Image1->picture() != c().Image2->picture());

    std::optional<QString> answer = m_pictures->filePath(kind);
    if (kind == u"cancel")
        answer.reset();
    else if (kind == u"empty")
        answer = QString();
    else if (kind == u"text")
        QVERIFY(TestSupport::writeFile(*answer, "Not a picture\r\n"));
    else if (kind == u"png")
        answer = makePicture(QStringLiteral("logo.png"), "PNG");
    else if (kind == u"huge bmp")
        QVERIFY(TestSupport::writeFile(*answer, hugeBmpHeader()));
    else if (kind == u"huge gif")
        QVERIFY(TestSupport::writeFile(*answer, hugeGifHeader()));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(*answer).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir(m_pictures->path()).mkdir(kind));
    if (!refusal.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(refusal));
    clickLogo(answer);

    QCOMPARE(c().Image1->picture(), c().Image2->picture());
    QCOMPARE(m_f->bytes(SettingsFiles::Logo), QByteArray("\r\n"));
    QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
    QVERIFY(!c().Check1->isChecked());
    QVERIFY(!c().Image1->isVisible());
}

void LogoChoiceTest::failedSettingsWriteClearsTheLogo()
{
    QVERIFY(QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString())); // cannot be written
    clickLogo(makePicture(QStringLiteral("logo.bmp"), "BMP"));
    QCOMPARE(c().Image1->picture(), c().Image2->picture());
    QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
    QVERIFY(!c().Check1->isChecked());
}

void LogoChoiceTest::switchOffAndOnKeepsTheLogo()
{
    const QString path = makePicture(QStringLiteral("logo.gif"), "GIF");
    clickLogo(path);
    QTest::mouseClick(c().Check1, Qt::LeftButton);
    QVERIFY(!c().Image1->isVisible());
    QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
    QCOMPARE(m_f->bytes(SettingsFiles::Logo), path.toUtf8() + "\r\n");

    QTest::mouseClick(c().Check1, Qt::LeftButton);
    QVERIFY(c().Image1->isVisible());
    QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 1 \r\n"));
    QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
}

void LogoChoiceTest::nextStartShowsTheChosenLogo_data()
{
    QTest::addColumn<bool>("deleteBetween");
    QTest::newRow("picture kept") << false;
    QTest::newRow("picture deleted") << true;
}

void LogoChoiceTest::nextStartShowsTheChosenLogo()
{
    QFETCH(bool, deleteBetween);
    const QString path = makePicture(QStringLiteral("logo.jpg"), "JPG");
    clickLogo(path);
    m_f->close();
    if (deleteBetween)
        QVERIFY(QFile::remove(path));
    QVERIFY(m_f->start());
    QVERIFY(c().Check1->isChecked());
    QCOMPARE(
        c().Image1->picture().size(), deleteBetween ? c().Image2->picture().size() : QSize(40, 20));
    QCOMPARE(m_f->bytes(SettingsFiles::Logo), path.toUtf8() + "\r\n");
}

QTEST_MAIN(LogoChoiceTest)
#include "logochoice_test.moc"
