#include "privatecups.h"

#include <QDir>

PrivateCups::PrivateCups()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("bash"), {QStringLiteral(QUILLMARK_PRIVATE_CUPS), m_dir.path()});
    while (!m_process.canReadLine() && m_process.waitForReadyRead(60000)) { }
    if ((m_says = m_process.readLine()) == "ready\n")
        qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("cups.sock"))));
}

PrivateCups::~PrivateCups()
{
    m_process.closeWriteChannel();
    m_process.waitForFinished();
}

QByteArray PrivateCups::skipReason() const
{
    return m_says.startsWith("no mount namespace") ? m_says : QByteArray();
}

QByteArray PrivateCups::failure() const
{
    return m_says == "ready\n" ? QByteArray() : m_says + " (the scheduler did not start)";
}

QStringList PrivateCups::pdfs() const
{
    const QDir out(m_dir.filePath(QStringLiteral("pdf")));
    QStringList paths;
    for (const QString &name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
        paths << out.filePath(name);
    return paths;
}
