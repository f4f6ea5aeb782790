#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "controls/imagebox.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A header that claims a picture of more than 128 MiB, without its pixels.
QByteArray hugeBmpHeader()
{
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(54) << quint32(0) << quint32(54) // file header
        << quint32(40) << quint32(8000) << quint32(8000) << quint16(1) << quint16(24); // info
    return bytes + QByteArray(24, '\0');
}

} // namespace

class LogoChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pictures = std::make_unique<QTemporaryDir>();
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        if (!c().Check1->isChecked())
            QTest::mouseClick(c().Check1, Qt::LeftButton);
        QVERIFY(c().Image1->isVisible());
    }

    void cleanup()
    {
        m_f.reset();
        m_pictures.reset();
    }

    void chosenPictureBecomesTheLogo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("JPEG") << u"logo.jpg"_s << QByteArray("JPG");
        QTest::newRow("GIF") << u"logo.gif"_s << QByteArray("GIF");
        QTest::newRow("BMP") << u"logo.bmp"_s << QByteArray("BMP");
    }

    void chosenPictureBecomesTheLogo()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        const QString path = makePicture(name, format.constData());
        QVERIFY(!path.isEmpty());
        clickLogo(path);
        QCOMPARE(m_f->form().commonDialog().Filter,
            u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)|*.jpg;*.jpeg;*.gif;*.bmp|"
            "JPG Files (*.jpg, *.jpeg)|*.jpg;*.jpeg|GIF Files (*.gif)|*.gif|"
            "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*"_s);
        QVERIFY(m_f->form().commonDialog().CancelError);

        QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), path.toUtf8() + "\r\n");
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 1 \r\n"));
        QVERIFY(c().Check1->isChecked());
        QVERIFY(c().Image1->isVisible());
        // Stretched over the whole 1020 x 1020 twip control.
        QCOMPARE(c().Image1->size(), QSize(68, 68));
        const QImage shown = c().Image1->grab().toImage();
        for (const QPoint corner : {QPoint(2, 2), QPoint(65, 65)})
            QVERIFY(qAbs(QColor(shown.pixel(corner)).red() - 200) < 16);
    }

    void everyFailureClearsTheLogo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal"); // the logged reason, when the loader refuses
        QTest::newRow("cancelled") << u"cancel"_s << QString();
        QTest::newRow("text file through All Files") << u"text"_s << u"not a JPEG, GIF or BMP"_s;
        QTest::newRow("PNG picture") << u"png"_s << u"not a JPEG, GIF or BMP"_s;
        QTest::newRow("BMP claiming 8000 x 8000") << u"huge"_s << u"too large"_s;
        QTest::newRow("FIFO, not waited on") << u"fifo"_s << u"not an ordinary file"_s;
    }

    void everyFailureClearsTheLogo()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        clickLogo(makePicture(u"first.bmp"_s, "BMP"));
        QVERIFY(c().Image1->picture() != c().Image2->picture());

        std::optional<QString> answer = m_pictures->filePath(kind);
        if (kind == u"cancel")
            answer.reset();
        else if (kind == u"text")
            QVERIFY(TestSupport::writeFile(*answer, "Not a picture\r\n"));
        else if (kind == u"png")
            answer = makePicture(u"logo.png"_s, "PNG");
        else if (kind == u"huge")
            QVERIFY(TestSupport::writeFile(*answer, hugeBmpHeader()));
        else if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(*answer).constData(), 0600), 0);
        if (!refusal.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(refusal));
        clickLogo(answer);

        QCOMPARE(c().Image1->picture(), c().Image2->picture());
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), QByteArray("\r\n"));
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
        QVERIFY(!c().Check1->isChecked());
        QVERIFY(!c().Image1->isVisible());
    }

    void failedSettingsWriteClearsTheLogo()
    {
        QVERIFY(QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString())); // cannot be written
        clickLogo(makePicture(u"logo.bmp"_s, "BMP"));
        QCOMPARE(c().Image1->picture(), c().Image2->picture());
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
        QVERIFY(!c().Check1->isChecked());
    }

    void switchOffAndOnKeepsTheLogo()
    {
        const QString path = makePicture(u"logo.gif"_s, "GIF");
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

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }

    // A 40 x 20 picture in red (200, 30, 30). Qt writes no GIF: that one is a fixture.
    [[nodiscard]] QString makePicture(const QString &name, const char *format) const
    {
        const QString path = m_pictures->filePath(name);
        if (qstrcmp(format, "GIF") == 0)
            return QFile::copy(TestSupport::dataPath(u"logo-40x20.gif"_s), path) ? path : QString();
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 30));
        return image.save(path, format) ? path : QString();
    }

    void clickLogo(const std::optional<QString> &answer)
    {
        if (answer)
            m_dialog->choose(*answer);
        else
            m_dialog->cancel();
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        QVERIFY(m_dialog->scriptUsed());
    }

    std::unique_ptr<FormFixture> m_f;
    std::unique_ptr<QTemporaryDir> m_pictures;
    ScriptedDialog *m_dialog = nullptr;
};

QTEST_MAIN(LogoChoiceTest)
#include "logochoice_test.moc"
