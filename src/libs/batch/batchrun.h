#pragma once

#include "batchcommand.h"
#include "logic/addresslist.h"
#include "logic/envelopepage.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QPrinter;
class TerminationSignals;
class QTextStream;
class SettingsStore;

// One run of many envelopes: every list is read and checked first, and only
// then is anything printed, written or shown. The listing goes to the output
// stream, every other message to the error stream.
class BatchRun
{
public:
    BatchRun(BatchCommand command, QTextStream &out, QTextStream &err);

    // The exit status (ExitStatus).
    [[nodiscard]] int run(const SettingsStore &store);
    // Stops the run before its next page; nothing is written or sent then.
    void interrupt() { m_interrupted = true; }
    // Whether a progress line is shown while pages are made (a terminal).
    void showProgress(bool show) { m_showProgress = show; }

private:
    struct Envelope
    {
        // Where it comes from: the list's place in the command line, and the line in it.
        qsizetype file = 0;
        int line = 0;
        QString name;
        QString recipient; // as its box would hold it: lines joined by CR LF
        QString zipDigits;
        QString trackingCode; // with --imb: the envelope's, and its bars
        QString intelligentMailBars;
    };

    [[nodiscard]] bool readLists();
    [[nodiscard]] std::optional<QByteArray> readList(const QString &file);
    [[nodiscard]] bool takeList(qsizetype file, AddressList list);
    [[nodiscard]] QString sourceOf(const Envelope &envelope) const;
    [[nodiscard]] QString where(qsizetype file, int line) const;
    [[nodiscard]] bool prepareLook(const SettingsStore &store);
    [[nodiscard]] bool encodeIntelligentMail();
    [[nodiscard]] EnvelopePage pageOf(const Envelope &envelope) const;
    void tellNextSerial();
    [[nodiscard]] int listEnvelopes();
    [[nodiscard]] int writePdf();
    [[nodiscard]] int print();
    [[nodiscard]] bool setPaper(QPrinter &printer);
    [[nodiscard]] std::unique_ptr<TerminationSignals> stopOnTermination();
    [[nodiscard]] bool makePages(QPrinter &printer);
    void progress(int done);
    int fail(int status, const QString &message);

    BatchCommand m_command;
    QTextStream &m_out;
    QTextStream &m_err;
    EnvelopeLook m_look;
    std::vector<Envelope> m_envelopes;
    bool m_interrupted = false;
    bool m_showProgress = false;
};
