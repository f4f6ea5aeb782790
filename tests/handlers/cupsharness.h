#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private CUPS scheduler for one test process (private-cups.sh), with one
// queue that turns every job into a PDF in pdfFolder(). It is stopped when the
// harness is destroyed, or when the test process ends without stopping it.
class CupsHarness
{
public:
    static constexpr const char *QueueName = "QuillmarkPDF";

    CupsHarness();
    ~CupsHarness();
    CupsHarness(const CupsHarness &) = delete;
    CupsHarness &operator=(const CupsHarness &) = delete;

    // Starts the scheduler and points this process at it through CUPS_SERVER.
    // That must happen before the process first talks to CUPS (before the
    // first QPrinter or printer dialog). False, with errorString(), when the
    // scheduler cannot be started here.
    [[nodiscard]] bool start();
    void stop();

    [[nodiscard]] QString errorString() const { return m_error; }
    [[nodiscard]] QString socketPath() const;
    [[nodiscard]] QString pdfFolder() const;

    // The path of the first PDF that is completely written in pdfFolder()
    // within the time, or an empty text.
    [[nodiscard]] QString waitForPdf(int timeoutMs) const;

private:
    [[nodiscard]] static bool isWhole(const QString &pdf);
    [[nodiscard]] bool runScript(const QStringList &arguments);

    std::unique_ptr<QTemporaryDir> m_folder;
    bool m_running = false;
    QString m_error;
};
