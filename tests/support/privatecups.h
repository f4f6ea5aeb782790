#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own, with a cups-pdf queue "QuillmarkPDF" writing PDFs into a
// folder; CUPS_SERVER points at it once it runs. Start it before the first QPrinter: Qt finds
// its printers once per process.
class PrivateCups
{
public:
    PrivateCups();
    ~PrivateCups();

    // Why the test must skip (no mount namespace: not root, or a container that forbids it).
    [[nodiscard]] QByteArray skipReason() const;
    // Empty when it runs, else what the scheduler printed.
    [[nodiscard]] QByteArray failure() const;
    // The PDFs the queue has written so far.
    [[nodiscard]] QStringList pdfs() const;

private:
    // Under /tmp: the filters run as lp and must reach it.
    QTemporaryDir m_dir {QStringLiteral("/tmp/quillmark-cups-XXXXXX")};
    QProcess m_process;
    QByteArray m_says;
};
