#include "cupsharness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

constexpr int ScriptTimeoutMs = 60000;

} // namespace

CupsHarness::CupsHarness() = default;

CupsHarness::~CupsHarness()
{
    stop();
}

bool CupsHarness::start()
{
    // Under /tmp: the folder must be reachable by the lp user that runs the filters.
    m_folder = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/quillmark-cups-XXXXXX"));
    if (!m_folder->isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder: ") + m_folder->errorString();
        return false;
    }
    const QString owner = QString::number(QCoreApplication::applicationPid());
    m_running = runScript({QStringLiteral("start"), m_folder->path(), owner});
    if (m_running)
        qputenv("CUPS_SERVER", QFile::encodeName(socketPath()));
    return m_running;
}

void CupsHarness::stop()
{
    if (!m_running)
        return;
    if (!runScript({QStringLiteral("stop"), m_folder->path()}))
        qWarning("private-cups.sh stop: %s", qUtf8Printable(m_error));
    m_running = false;
}

QString CupsHarness::socketPath() const
{
    return m_folder ? m_folder->filePath(QStringLiteral("cups.sock")) : QString();
}

QString CupsHarness::pdfFolder() const
{
    return m_folder ? m_folder->filePath(QStringLiteral("pdf")) : QString();
}

QString CupsHarness::waitForPdf(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        QDirIterator pdfs(
            pdfFolder(), {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
        if (pdfs.hasNext()) {
            const QString pdf = pdfs.next();
            if (isWhole(pdf))
                return pdf;
        }
        QThread::msleep(200);
    } while (!deadline.hasExpired());
    return {};
}

// cups-pdf writes the file in place: it is whole once it ends with the
// end-of-file marker.
bool CupsHarness::isWhole(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
        return false;
    file.seek(file.size() - 8);
    return file.readAll().trimmed().endsWith("%%EOF");
}

bool CupsHarness::runScript(const QStringList &arguments)
{
    QProcess script;
    script.start(QStringLiteral("bash"),
        QStringList {QStringLiteral(QUILLMARK_PRIVATE_CUPS_SCRIPT)} + arguments);
    if (!script.waitForFinished(ScriptTimeoutMs)) {
        script.kill();
        script.waitForFinished();
        m_error = QStringLiteral("private-cups.sh did not finish");
        return false;
    }
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        m_error = QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}
